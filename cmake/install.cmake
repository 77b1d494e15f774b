# What `cmake --install` puts where, as Debian's Qt applications have it, and
# the Debian package built from it by CPack (make package).

# Man pages and the Debian changelog are installed compressed (gzip -n: no
# name or time stamp, so the package is the same from one build to the next).
find_program(GZIP_PROGRAM gzip REQUIRED)
set(ORVEN_GENERATED ${PROJECT_BINARY_DIR}/data)
file(MAKE_DIRECTORY ${ORVEN_GENERATED})
foreach(metainfo orven.metainfo.xml orven-teacher.metainfo.xml)
  configure_file(${PROJECT_SOURCE_DIR}/data/${metainfo} ${ORVEN_GENERATED}/${metainfo} @ONLY)
endforeach()
set(ORVEN_COMPRESSED)
foreach(page orven.1 orven-key.1 orven-teacher.1)
  configure_file(${PROJECT_SOURCE_DIR}/data/${page} ${ORVEN_GENERATED}/${page} @ONLY)
  list(APPEND ORVEN_COMPRESSED ${page})
endforeach()
# A native package: its changelog is changelog.gz.
configure_file(${PROJECT_SOURCE_DIR}/data/changelog ${ORVEN_GENERATED}/changelog @ONLY)
list(APPEND ORVEN_COMPRESSED changelog)
set(ORVEN_COMPRESSED_OUTPUTS)
foreach(file IN LISTS ORVEN_COMPRESSED)
  add_custom_command(OUTPUT ${ORVEN_GENERATED}/${file}.gz
                     COMMAND ${GZIP_PROGRAM} -n -9 -c ${file} > ${file}.gz
                     DEPENDS ${ORVEN_GENERATED}/${file}
                     WORKING_DIRECTORY ${ORVEN_GENERATED} VERBATIM)
  list(APPEND ORVEN_COMPRESSED_OUTPUTS ${ORVEN_GENERATED}/${file}.gz)
endforeach()
# The one fluid table shipped: water from the formulations, as the key prints
# it, so that teachers see the format of their own tables with real values.
add_custom_command(OUTPUT ${ORVEN_GENERATED}/fluids/water.txt
                   COMMAND ${CMAKE_COMMAND} -E make_directory ${ORVEN_GENERATED}/fluids
                   COMMAND orven-key fluid-table вода 0 100 10 > ${ORVEN_GENERATED}/fluids/water.txt
                   DEPENDS orven-key VERBATIM)
add_custom_target(orven_data ALL DEPENDS ${ORVEN_COMPRESSED_OUTPUTS}
                                         ${ORVEN_GENERATED}/fluids/water.txt)

install(TARGETS orven orven-key orven-teacher RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS orven-key-pdf RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/orven)
install(FILES data/orven.desktop data/orven-teacher.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/orven.svg data/orven-teacher.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${ORVEN_GENERATED}/orven.metainfo.xml ${ORVEN_GENERATED}/orven-teacher.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${ORVEN_GENERATED}/orven.1.gz ${ORVEN_GENERATED}/orven-key.1.gz
              ${ORVEN_GENERATED}/orven-teacher.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${ORVEN_GENERATED}/fluids/water.txt DESTINATION ${CMAKE_INSTALL_DATADIR}/orven/fluids)
install(FILES data/copyright ${ORVEN_GENERATED}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orven)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "ORVEN developers <orven@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "design calculation of plate heat exchangers for students")
# CPack puts the summary first and indents every line of this text by one blank.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "ORVEN is a teaching program for the design calculation of plate heat
exchangers. The student types the initial data of a design, says whether the
unit is a cooler or a condenser, picks a standard plate and nozzle from a
catalogue, lays the channels out in packs and gets the Reynolds and Prandtl
numbers, the heat transfer coefficients, the pressure drops, the required and
the available surface and the margin, with warnings and advice. Results are
printed into a paged report, or written as a PDF file without a printer.
.
All text of the program is Russian.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beyond its libraries: the fonts of its screens and report, the Russian texts
# of Qt's stock dialogs, the X11 platform plugin and the SVG icon loader.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-liberation2, qt6-translations-l10n, qt6-qpa-plugins, libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-user-dirs, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://orven.example.org/")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
include(CPack)
