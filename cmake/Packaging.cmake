# A Debian package: `cpack -G DEB` in the build directory (scripts/package.sh).
# The shared libraries it needs are found by dpkg-shlibdeps; only what no
# library link shows (Qt's platform plugin, the Japanese font) is named here.
include(GNUInstallDirs)

install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zorvane RENAME copyright)
install(FILES CHANGELOG.md README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zorvane)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zorvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Zorvane developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "print one picture many times on one sheet")
set(CPACK_PACKAGE_DESCRIPTION
    "Zorvane prints one picture many times on one sheet of paper, as a grid of\n"
    "equal tickets (labels, cards), with a live preview of what fits. It can\n"
    "also print without a window into a PDF or PNG file. Japanese interface.")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Zorvane developers <zorvane@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "glabels-data, qt6-translations-l10n, qt6-wayland, qt6-image-formats-plugins")
# Only the program and its data: the tests and benchmarks install nothing.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};ALL;/")
include(CPack)
