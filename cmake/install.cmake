# Installing Wolterix like any desktop program (cmake --install, scripts/package): the two
# programs, the examples, the desktop entry, the icon, the file type, the manual page of
# wolterix-cli and the README; and the Debian package CPack makes of them.

include(GNUInstallDirs)

# What the installation takes and nothing else (no tests, no benchmarks): scripts/package builds it.
add_custom_target(wolterix_installed)
add_dependencies(wolterix_installed wolterix wolterix-cli)

install(TARGETS wolterix wolterix-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/
        DESTINATION ${CMAKE_INSTALL_DATADIR}/wolterix/examples
        FILES_MATCHING PATTERN "*.wtx")
install(FILES ${PROJECT_SOURCE_DIR}/data/wolterix.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/wolterix.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${PROJECT_SOURCE_DIR}/README.md
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/wolterix)

# The icon: the drawing itself, and pictures of it in the usual sizes (the smallest from the
# simpler drawing, as the program draws it), made at build time.
install(FILES ${PROJECT_SOURCE_DIR}/data/icons/wolterix.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
find_program(WOLTERIX_RSVG_CONVERT rsvg-convert)
if(WOLTERIX_RSVG_CONVERT)
  set(icon_pictures)
  foreach(size 16 32 48 64 128 256)
    if(size LESS 32)
      set(drawing ${PROJECT_SOURCE_DIR}/data/icons/wolterix-small.svg)
    else()
      set(drawing ${PROJECT_SOURCE_DIR}/data/icons/wolterix.svg)
    endif()
    set(picture ${PROJECT_BINARY_DIR}/icons/${size}x${size}/wolterix.png)
    add_custom_command(OUTPUT ${picture}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/icons/${size}x${size}
      COMMAND ${WOLTERIX_RSVG_CONVERT} -w ${size} -h ${size} -o ${picture} ${drawing}
      DEPENDS ${drawing}
      COMMENT "Drawing the ${size}x${size} icon"
      VERBATIM)
    list(APPEND icon_pictures ${picture})
    install(FILES ${picture} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  add_custom_target(wolterix_icons ALL DEPENDS ${icon_pictures})
  add_dependencies(wolterix_installed wolterix_icons)
else()
  message(WARNING "rsvg-convert (librsvg2-bin) not found: the PNG icons will not be installed")
endif()

# The manual page, printed by wolterix-cli itself from the options its --help describes. Until
# the program has the --manual-page flag there is no page; the file is watched so that adding it
# configures again.
file(STRINGS ${PROJECT_SOURCE_DIR}/src/cli/command_line.cpp manual_page_flag
     REGEX "\"--manual-page\"")
if(manual_page_flag)
  set(manual_page ${PROJECT_BINARY_DIR}/wolterix-cli.1)
  add_custom_command(OUTPUT ${manual_page}
    COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:wolterix-cli> -DOUTPUT=${manual_page}
            -P ${PROJECT_SOURCE_DIR}/cmake/manual_page.cmake
    DEPENDS wolterix-cli ${PROJECT_SOURCE_DIR}/cmake/manual_page.cmake
    COMMENT "Writing the manual page wolterix-cli.1"
    VERBATIM)
  add_custom_target(wolterix_manual_page ALL DEPENDS ${manual_page})
  add_dependencies(wolterix_installed wolterix_manual_page)
  install(FILES ${manual_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
               ${PROJECT_SOURCE_DIR}/src/cli/command_line.cpp)
  message(STATUS "wolterix-cli has no --manual-page yet: no manual page")
endif()

# The Debian package: scripts/package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME wolterix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(WOLTERIX_PACKAGE_MAINTAINER "Wolterix <wolterix@example.org>"
    CACHE STRING "The Maintainer line of the Debian package")
set(CPACK_PACKAGE_CONTACT "${WOLTERIX_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${WOLTERIX_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's window system plugins and the translations of its own dialogs are separate packages, and
# every drawing asks for DejaVu Sans.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
# The first line is the synopsis, the rest the long description (CPack indents it).
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"simulator of electric and power-electronic circuits for teaching
Wolterix lets a student draw a schematic on a grid from a palette of 25 circuit
elements (sources, R, L, C, diodes, thyristors, transistors, switches, coupled
coils, a transformer, a DC motor, meters) and run a time simulation, a
transfer-function sweep or a real-time measurement with RMS, mean, THD and
power meters. Its user interface is in Polish. The package holds the program,
the command-line front end wolterix-cli and example schematics.

Symulator obwodów elektrycznych i energoelektronicznych do nauki.
Student rysuje schemat na siatce z 25 elementów (źródła, R, L, C, diody,
tyrystory, tranzystory, łączniki, cewki sprzężone, transformator, silnik prądu
stałego, mierniki) i uruchamia symulację czasową, badanie transmitancji albo
pomiar w czasie rzeczywistym. Pakiet zawiera program, wersję dla wiersza
poleceń wolterix-cli i przykładowe schematy.")
include(CPack)
