# `make package`: a Debian package of what cmake/Install.cmake installs, named
# arraypattern_<version>_amd64.deb. Library dependencies come from the binaries (dpkg-shlibdeps);
# the Qt translations and the Liberation fonts are loaded at run time, so they are named here.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME arraypattern)
set(CPACK_PACKAGE_VERSION ${ARRAYPATTERN_VERSION})
set(CPACK_PACKAGE_VENDOR "The Array pattern developers")
set(CPACK_PACKAGE_CONTACT "The Array pattern developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "radiation pattern of a planar antenna array of up to eight emitters")
set(CPACK_PACKAGE_DESCRIPTION
    "A desktop tool for studying the radiation pattern of a planar antenna array of up to eight
emitters: place the emitters, give each a phase, pick the element kind and the elevation, and
see the pattern as a polar diagram with its maximum and bearing. Beam steering to a typed
bearing, arrays saved as text files, the diagram written as a BMP picture. The command line
program arraypattern-cli gives the same numbers as text, JSON or CSV, and the Python module
arraypattern as numpy arrays.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Python module is built for Debian 12's interpreter and takes numpy's arrays; an
# extension module links no libpython, so dpkg-shlibdeps cannot see either.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-translations-l10n, fonts-liberation2, python3 (>= 3.11), python3 (<< 3.12), python3-numpy")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
