# The Debian package of the installed tree: `cpack -G DEB` in the build folder. Its dependencies
# are those of the programs' shared libraries (dpkg-shlibdeps), plus what the programs start or
# load at run time.

set(CPACK_PACKAGE_NAME vantorel)
set(CPACK_PACKAGE_VENDOR OrvikSoft)
set(CPACK_PACKAGE_CONTACT "Vantorel developers <vantorel@orviksoft.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Editor and sender of playbills for LED signs")
set(CPACK_PACKAGE_DESCRIPTION
    "Vantorel edits playbills for LED signs, above all cross-shaped signs, converts them into the
controller's program files and sends them to the sign. It holds the vantorel editor and the
vantorel-cli command line.")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_INSTALL_DIRECTORY vantorel)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Qt platform plug-ins (loaded, not linked) for other desktops than X11, which libqt6gui6 holds.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-qpa-plugins")
# The editor says how to start under a virtual display when it finds none.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xvfb, xauth")

include(CPack)
