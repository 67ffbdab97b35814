# The Debian package: the program, its desktop entry, icon and metainfo (never the stand-in
# service or the tests), with its runtime dependencies worked out by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Quorvel")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Look up the traffic violations recorded for a vehicle")
set(CPACK_PACKAGE_DESCRIPTION
    "Quorvel asks a regional traffic police query service about the violations recorded for a vehicle: type the plate number and the last four characters of the vehicle identification code, press the query button, and the answer appears in the status bar.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY quorvel)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quorvel developers <developers@quorvel.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Found at run time, so no library link names them: Qt's X11 platform plugin, and libcurl,
# which the program loads with its first query.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libcurl4 (>= 7.88)")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-microhei | fonts-noto-cjk")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Only what the program needs at run time goes into the package.
set(CPACK_COMPONENTS_ALL Unspecified)
include(CPack)
