# Debian ships QScintilla for Qt 6 without a CMake package; wrap it in an imported target.
find_path(QSCINTILLA_INCLUDE_DIR NAMES Qsci/qsciscintilla.h
          HINTS "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_HEADERS}"
          PATH_SUFFIXES qt6 x86_64-linux-gnu/qt6)
find_library(QSCINTILLA_LIBRARY NAMES qscintilla2_qt6
             HINTS "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_LIBS}")
if(NOT QSCINTILLA_INCLUDE_DIR OR NOT QSCINTILLA_LIBRARY)
    message(FATAL_ERROR "QScintilla for Qt 6 not found (Debian package libqscintilla2-qt6-dev)")
endif()
add_library(QScintilla::QScintilla UNKNOWN IMPORTED)
set_target_properties(QScintilla::QScintilla PROPERTIES
    IMPORTED_LOCATION "${QSCINTILLA_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${QSCINTILLA_INCLUDE_DIR}"
    INTERFACE_LINK_LIBRARIES Qt6::Widgets)
