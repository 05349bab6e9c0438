# The Debian package: `cpack -G DEB` in a build folder configured with
# -DCMAKE_INSTALL_PREFIX=/usr. It holds what `cmake --install` lays out; its
# dependencies come from dpkg-shlibdeps.
set(ZV_PACKAGE_CONTACT "Zandvast maintainers <maintainers@users.noreply.c-seed-f4cb2a2e.example>"
    CACHE STRING "Maintainer of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zandvast)
set(CPACK_PACKAGE_CONTACT "${ZV_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "keeps a backup copy of one folder tree in another")
set(CPACK_PACKAGE_DESCRIPTION
    "Zandvast & Backup Tool keeps a backup copy of one folder tree in another,\n"
    "typically on a removable disk. A run copies what is new or changed since a\n"
    "from-date; it can synchronise (delete what the source no longer has, send it\n"
    "to the desktop trash or move it into a dustbin folder) and remove empty\n"
    "folders. A backup disk may be named by its volume name. Jobs run from the\n"
    "window (in Dutch) or unattended from cron or a systemd timer.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
# The package installs where the program was built to be installed: the
# installed copy knows itself by that bin folder.
set(CPACK_PACKAGING_INSTALL_PREFIX "${CMAKE_INSTALL_PREFIX}")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "qt6-wayland")
# Qt's own texts (standard buttons, the folder picker) in Dutch.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
configure_file(${CMAKE_CURRENT_LIST_DIR}/CPackProjectConfig.cmake.in
    ${PROJECT_BINARY_DIR}/CPackProjectConfig.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/CPackProjectConfig.cmake)
include(CPack)
