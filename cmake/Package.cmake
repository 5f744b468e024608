# The Debian package: `./dev package` (or cpack in the build directory) makes
# ravik_<version>_<arch>.deb from the install rules.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ravik)
set(CPACK_PACKAGE_VENDOR Velmora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_HOMEPAGE_URL "https://github.com/ravik/ravik")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "INI configuration file editor with a tree and a text view")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Ravik, the Velmora INI editor, is a desktop program with a German user\n"
    "interface for INI configuration files. The browser view shows sections and\n"
    "keys as a tree and edits them in fields; saving there changes only the lines\n"
    "that were changed and keeps comments and layout. The editor view shows the\n"
    "file as syntax-highlighted text. An optional backup copy is written before\n"
    "each save.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(RAVIK_PACKAGE_MAINTAINER "Velmora <ravik@example.com>"
    CACHE STRING "Maintainer field of the Debian package")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${RAVIK_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries the program links are found by dpkg-shlibdeps. What it loads only at
# run time is named here: the SVG plugins draw every icon of the tool bars and the
# tree (without them the buttons are blank), so they are a dependency.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# pkexec runs ravik-systemdatei, through which a user saves a system file.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, pkexec")
# German texts of Qt's and QScintilla's own dialogs and buttons, and Liberation Mono,
# which stands in metrically for the editor's "Courier New": without them Ravik works,
# with English standard buttons and another monospaced font.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, libqscintilla2-qt6-l10n, fonts-liberation")

include(CPack)
