option(CHANNELDECK_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(CHANNELDECK_BUILD_APP "Build the Qt desktop program" ON)
option(CHANNELDECK_BUILD_TESTS "Build the tests" ON)
option(CHANNELDECK_BUILD_BENCH "Build the benchmarks" ON)

if(NOT CMAKE_BUILD_TYPE AND NOT CMAKE_CONFIGURATION_TYPES)
  set(CMAKE_BUILD_TYPE RelWithDebInfo CACHE STRING "" FORCE)
endif()

# Every target links this: one place for the standard, the warnings and the
# sanitizer switches, so no target can quietly build with less.
add_library(channeldeck_options INTERFACE)
target_compile_features(channeldeck_options INTERFACE cxx_std_20)
target_compile_options(channeldeck_options INTERFACE -Wall -Wextra -Wpedantic)
target_compile_definitions(channeldeck_options INTERFACE _GLIBCXX_ASSERTIONS)
if(CHANNELDECK_SANITIZE)
  target_compile_options(channeldeck_options INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(channeldeck_options INTERFACE -fsanitize=address,undefined)
endif()
set(CMAKE_CXX_EXTENSIONS OFF)
