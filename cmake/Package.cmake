# The Debian package: what cmake --install puts in place, under /usr.
# dpkg-shlibdeps reads the installed programs and names the Debian packages
# of the libraries they link, so the dependencies follow the build.
set(CPACK_PACKAGE_NAME "channeldeck")
set(CPACK_PACKAGE_VENDOR "${CHANNELDECK_COMPANY_NAME}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Internet television, radio and video channel browser")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CHANNELDECK_COMPANY_NAME} <support@${CHANNELDECK_WEBSITE}>")
set(CPACK_DEBIAN_PACKAGE_SECTION "video")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The catalogue server is a separate service, not part of the desktop package.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};Desktop;/")
include(CPack)
