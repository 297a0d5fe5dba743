# The Debian package: `cpack -G DEB` in a build folder makes kestavon_<version>_<arch>.deb from
# what `cmake --install` installs, with the prefix /usr (so the autostart entry lands in
# /etc/xdg/autostart). The libraries it links come from dpkg-shlibdeps; the Qt plug-ins it
# loads at run time (the SVG icon engine) are named here, since no link shows them.
set(CPACK_PACKAGE_NAME kestavon)
set(CPACK_PACKAGE_VENDOR "Kestavon")
set(CPACK_PACKAGE_CONTACT "Kestavon maintainers <kestavon@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Keyboard application switcher: hold right Super and press a bound key")
set(CPACK_PACKAGE_DESCRIPTION
    "Hold the right Super key and press a bound key: the bound application comes to the front, or is launched when it is not running. Applications are bound to keys on an on-screen keyboard. Needs an X11 session.")
# Installed with DESTDIR and the prefix /usr, whatever prefix the build was configured with, so
# the one absolute destination (/etc/xdg/autostart) lands inside the package too.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "hicolor-icon-theme")
set(CPACK_DEBIAN_COMPRESSION_TYPE gzip)
set(CPACK_GENERATOR DEB)
set(CPACK_SOURCE_GENERATOR "")
include(CPack)
