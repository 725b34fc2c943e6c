option(CHANNELDECK_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(CHANNELDECK_BUILD_APP "Build the Qt desktop program" ON)
option(CHANNELDECK_BUILD_SERVER "Build channeldeck-server, the catalogue server (needs libpq)" ON)
option(CHANNELDECK_BUILD_TESTS "Build the tests" ON)
option(CHANNELDECK_BUILD_BENCH "Build the benchmarks" ON)
option(CHANNELDECK_WERROR "Treat compiler warnings as errors (CI turns this on)" OFF)
option(CHANNELDECK_BUILD_FUZZ "Build the libFuzzer targets and their corpus runs (needs clang)" OFF)

if(NOT CMAKE_BUILD_TYPE AND NOT CMAKE_CONFIGURATION_TYPES)
  set(CMAKE_BUILD_TYPE RelWithDebInfo CACHE STRING "" FORCE)
endif()

# Every target links this: one place for the standard, the warnings and the
# sanitizer switches, so no target can quietly build with less.
add_library(channeldeck_options INTERFACE)
target_compile_features(channeldeck_options INTERFACE cxx_std_20)
target_compile_options(channeldeck_options INTERFACE -Wall -Wextra -Wpedantic -Wshadow)
if(CHANNELDECK_WERROR)
  target_compile_options(channeldeck_options INTERFACE -Werror)
endif()
target_compile_definitions(channeldeck_options INTERFACE _GLIBCXX_ASSERTIONS)
if(CHANNELDECK_SANITIZE)
  target_compile_options(channeldeck_options INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(channeldeck_options INTERFACE -fsanitize=address,undefined)
endif()
set(CMAKE_CXX_EXTENSIONS OFF)

# The fuzz build instruments every library the fuzzers link for libFuzzer's
# coverage feedback and checks it with the same sanitizers; only the fuzz
# executables link libFuzzer's driver (fuzz/CMakeLists.txt). clang 14 cannot
# emit the function sanitizer's prologue for coroutines next to the coverage
# instrumentation ("Cannot represent a difference across sections"), so that
# one check is left out here; the sanitizer build (gcc) still has the rest.
if(CHANNELDECK_BUILD_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "CHANNELDECK_BUILD_FUZZ needs clang (-DCMAKE_CXX_COMPILER=clang++-14); see scripts/fuzz")
  endif()
  target_compile_options(channeldeck_options INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize=function -fno-omit-frame-pointer
    -fno-sanitize-recover=undefined)
  target_link_options(channeldeck_options INTERFACE -fsanitize=address,undefined)
endif()
