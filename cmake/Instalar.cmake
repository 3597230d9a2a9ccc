# Installation in the GNU layout (`cmake --install`) and the Debian package (`cpack -G DEB`).
include(GNUInstallDirs)

install(TARGETS velarno velarno-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/resources/velarno.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/docs/guia.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The icon goes to the hicolor folder of its real size, read from the PNG header (width and
# height are the big-endian words at bytes 16 and 20); the theme only has folders for the
# standard sizes, so any other size is an error here rather than an icon no menu finds.
set(VELARNO_ICONO ${PROJECT_SOURCE_DIR}/resources/icono.png)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${VELARNO_ICONO})
file(READ ${VELARNO_ICONO} velarno_cabecera OFFSET 16 LIMIT 8 HEX)
string(SUBSTRING "${velarno_cabecera}" 0 8 velarno_ancho)
string(SUBSTRING "${velarno_cabecera}" 8 8 velarno_alto)
math(EXPR velarno_ancho "0x${velarno_ancho}")
math(EXPR velarno_alto "0x${velarno_alto}")
if(NOT velarno_ancho EQUAL velarno_alto OR
   NOT velarno_ancho MATCHES "^(16|22|24|32|48|64|128|256|512)$")
  message(FATAL_ERROR "resources/icono.png is ${velarno_ancho}x${velarno_alto}: the icon theme "
                      "needs a square icon of 16, 22, 24, 32, 48, 64, 128, 256 or 512 pixels")
endif()
install(FILES ${VELARNO_ICONO}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${velarno_ancho}x${velarno_ancho}/apps
        RENAME velarno.png)

# The man page is compressed when installed, as Debian keeps them, if gzip is at hand.
set(VELARNO_MANUAL ${PROJECT_SOURCE_DIR}/docs/velarno-cli.1)
find_program(VELARNO_GZIP gzip)
if(VELARNO_GZIP)
  set(velarno_manual_gz ${PROJECT_BINARY_DIR}/velarno-cli.1.gz)
  install(CODE "
    execute_process(COMMAND \"${VELARNO_GZIP}\" -9 -n -c \"${VELARNO_MANUAL}\"
                    OUTPUT_FILE \"${velarno_manual_gz}\" RESULT_VARIABLE velarno_gzip)
    if(velarno_gzip)
      message(FATAL_ERROR \"gzip could not compress ${VELARNO_MANUAL}\")
    endif()")
  install(FILES ${velarno_manual_gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  install(FILES ${VELARNO_MANUAL} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# Debian package: velarno_<version>_<arch>.deb. Its dependencies are what dpkg-shlibdeps
# (package dpkg-dev) finds the programs linked with, plus what Qt loads at run time. The xcb
# platform plugin and the GIF and JPEG image plugins are in libqt6gui6, which both programs link
# (QImage), so shlibdeps already names it; qt6-translations-l10n holds the Spanish texts of
# Qt's own buttons and file dialog, loaded by name.
set(VELARNO_MANTENEDOR "El equipo de Velarno <velarno@example.org>"
    CACHE STRING "Maintainer field of the Debian package")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velarno)
set(CPACK_PACKAGE_CONTACT "${VELARNO_MANTENEDOR}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "grey-level image thresholding, step by step
Velarno opens a BMP, GIF, JPEG or PNG picture, shows its grey image and histogram, and
binarizes it with a threshold chosen by hand or computed by one of its methods, run straight
or step by step with a trace of each step. It compares all methods side by side and scores
them against a reference binarization. velarno-cli runs the methods without a window, on one
picture or on many. The interface is in Spanish.")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
include(CPack)
