# The Debian package: `cpack -G DEB` in the build folder. Library dependencies come from
# dpkg-shlibdeps; the rest are what the program loads at run time without linking it.
set(CPACK_PACKAGE_NAME tervix)
set(CPACK_PACKAGE_VENDOR "TERVIX")
set(CPACK_PACKAGE_CONTACT "TERVIX maintainers <tervix@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Download, chart and print the records of a wireless data logger")
set(CPACK_PACKAGE_DESCRIPTION
    "Desktop program (tervix), command-line companion (tervix-cli) and simulated interface
board (tervix-sim) for a battery-powered pressure, temperature or humidity data logger
reached through a USB interface board with a Bluetooth LE module.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# qt6-qpa-plugins: the window system plugins (the program cannot open a window without them);
# qt6-translations-l10n: the toolkit's dialogs and buttons in Portuguese and Spanish.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, udev")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/cmake/debian/postinst)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
