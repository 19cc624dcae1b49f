# `make package`: a Debian package of what dist/ installs, nothing of the tests.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pxr3)
set(CPACK_PACKAGE_VENDOR "PXR3 team")
set(CPACK_PACKAGE_CONTACT "PXR3 team <podpora@example.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "control and evaluation program for the PXR3 multichannel analyser")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "The desktop program for the PXR3, a radiation spectrometer attached through\n"
    "an FTDI USB-serial bridge. It sets the detector's high voltage, starts and\n"
    "stops the acquisition, shows the spectrum and the course of the count rate,\n"
    "tells the volume activity of the chosen radionuclide and runs measurement\n"
    "series into a table that is saved, loaded and printed. Its user interface\n"
    "is in Czech.")
string(JOIN "" CPACK_DEBIAN_PACKAGE_DESCRIPTION ${CPACK_DEBIAN_PACKAGE_DESCRIPTION})
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The Debian revision comes from the changelog, whose newest entry, as the metadata's newest
# release, must be the version built.
file(STRINGS ${PROJECT_SOURCE_DIR}/dist/${PXR3_APP_ID}.metainfo.xml newestRelease REGEX "<release " LIMIT_COUNT 1)
file(STRINGS ${PROJECT_SOURCE_DIR}/dist/debian/changelog changelogTop LIMIT_COUNT 1)
string(REGEX MATCH "^pxr3 \\(${PROJECT_VERSION}-([0-9]+)\\) " changelogVersion "${changelogTop}")
set(CPACK_DEBIAN_PACKAGE_RELEASE ${CMAKE_MATCH_1})
if(NOT changelogVersion OR NOT newestRelease MATCHES "version=\"${PROJECT_VERSION}\"")
  message(FATAL_ERROR "dist/debian/changelog and dist/${PXR3_APP_ID}.metainfo.xml need an entry for ${PROJECT_VERSION} on top")
endif()
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded by Qt, not linked: the SVG icon engine draws the window icon. The postinst makes the
# station's user with adduser.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, adduser")
set(CPACK_STRIP_FILES ON)
# The package installs where the program expects to be installed (see PXR3_INSTALL_BINDIR).
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                                WORLD_READ WORLD_EXECUTE)
# The maintainer scripts make the station's user and tell systemd of its unit; the station's
# options file is a conffile, kept as the admin edited it. All configured in dist/.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_BINARY_DIR}/dist/debian/postinst ${PROJECT_BINARY_DIR}/dist/debian/prerm
                                      ${PROJECT_BINARY_DIR}/dist/debian/postrm ${PROJECT_BINARY_DIR}/dist/debian/conffiles)
# Scripts 0755, the conffiles list 0644, whatever the files' own modes.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
