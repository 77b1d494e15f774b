# The Windows build (make windows): orven.exe and the teacher's orven-teacher.exe
# and orven-key.exe with their icons, and what `cmake --install` puts beside it so that the folder runs
# anywhere: Qt's DLLs and the two plugins the program loads, the MinGW
# run-time, Qt's Russian texts, qt.conf, the licence and a README in Russian.
# scripts/build-windows strips, zips and wraps it in an NSIS installer.

# Each program's icon: its SVG drawn at the sizes Windows asks for, in one
# .ico, the first icon resource of the program.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
find_program(ICOTOOL icotool REQUIRED)
foreach(program orven orven-teacher)
  set(ORVEN_ICON_PNGS)
  foreach(size 16 24 32 48 64 256)
    set(png ${PROJECT_BINARY_DIR}/icon/${program}-${size}.png)
    add_custom_command(OUTPUT ${png}
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/icon
                       COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png}
                               ${PROJECT_SOURCE_DIR}/data/${program}.svg
                       DEPENDS ${PROJECT_SOURCE_DIR}/data/${program}.svg VERBATIM)
    list(APPEND ORVEN_ICON_PNGS ${png})
  endforeach()
  add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/icon/${program}.ico
                     COMMAND ${ICOTOOL} -c -o ${PROJECT_BINARY_DIR}/icon/${program}.ico
                             ${ORVEN_ICON_PNGS}
                     DEPENDS ${ORVEN_ICON_PNGS} VERBATIM)
  set(ORVEN_ICON ${PROJECT_BINARY_DIR}/icon/${program}.ico)
  configure_file(${PROJECT_SOURCE_DIR}/data/windows/orven.rc.in
                 ${PROJECT_BINARY_DIR}/icon/${program}.rc @ONLY)
  target_sources(${program} PRIVATE ${PROJECT_BINARY_DIR}/icon/${program}.rc)
  # The targets live in src/: the icon is made by a target of this folder.
  add_custom_target(${program}_icon DEPENDS ${PROJECT_BINARY_DIR}/icon/${program}.ico)
  add_dependencies(${program} ${program}_icon)
endforeach()

# The folder: everything at its top, as a Windows program is unpacked.
install(TARGETS orven orven-teacher orven-key orven-key-pdf RUNTIME DESTINATION .)
# The teacher's libraries, built beside Qt: poppler and its Qt 6 front end,
# FreeType, libzip and zlib.
file(GLOB ORVEN_LIBRARY_DLLS ${ORVEN_WINDOWS_LIBRARIES}/bin/*.dll)
find_file(ORVEN_ZLIB zlib1.dll PATHS /usr/x86_64-w64-mingw32/bin /usr/x86_64-w64-mingw32/lib
          NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
install(FILES ${ORVEN_LIBRARY_DLLS} ${ORVEN_ZLIB} DESTINATION .)
get_target_property(ORVEN_QT_CORE Qt6::Core IMPORTED_LOCATION_RELEASE)
get_filename_component(ORVEN_QT_BIN ${ORVEN_QT_CORE} DIRECTORY)
get_filename_component(ORVEN_QT_PREFIX ${ORVEN_QT_BIN} DIRECTORY)
install(FILES ${ORVEN_QT_BIN}/Qt6Core.dll ${ORVEN_QT_BIN}/Qt6Gui.dll ${ORVEN_QT_BIN}/Qt6Widgets.dll
              ${ORVEN_QT_BIN}/Qt6PrintSupport.dll DESTINATION .)
install(FILES ${ORVEN_QT_PREFIX}/plugins/platforms/qwindows.dll DESTINATION platforms)
install(FILES ${ORVEN_QT_PREFIX}/plugins/styles/qwindowsvistastyle.dll DESTINATION styles)
# The run-time DLLs that Qt's own DLLs need, from Debian's MinGW-w64.
file(GLOB ORVEN_GCC_DIRS /usr/lib/gcc/x86_64-w64-mingw32/*-posix)
find_file(ORVEN_LIBGCC libgcc_s_seh-1.dll PATHS ${ORVEN_GCC_DIRS} NO_DEFAULT_PATH
          NO_CMAKE_FIND_ROOT_PATH REQUIRED)
find_file(ORVEN_LIBSTDCXX libstdc++-6.dll PATHS ${ORVEN_GCC_DIRS} NO_DEFAULT_PATH
          NO_CMAKE_FIND_ROOT_PATH REQUIRED)
find_file(ORVEN_WINPTHREAD libwinpthread-1.dll PATHS /usr/x86_64-w64-mingw32/lib NO_DEFAULT_PATH
          NO_CMAKE_FIND_ROOT_PATH REQUIRED)
install(FILES ${ORVEN_LIBGCC} ${ORVEN_LIBSTDCXX} ${ORVEN_WINPTHREAD} DESTINATION .)
# Qt's stock dialogs in Russian: Debian's qtbase_ru.qm, found through qt.conf.
install(FILES /usr/share/qt6/translations/qtbase_ru.qm DESTINATION translations)
install(FILES ${PROJECT_SOURCE_DIR}/data/windows/qt.conf DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
configure_file(${PROJECT_SOURCE_DIR}/data/windows/readme.txt.in
               ${PROJECT_BINARY_DIR}/ПРОЧТИ.txt @ONLY NEWLINE_STYLE CRLF)
install(FILES ${PROJECT_BINARY_DIR}/ПРОЧТИ.txt ${PROJECT_BINARY_DIR}/icon/orven.ico
              ${PROJECT_BINARY_DIR}/icon/orven-teacher.ico DESTINATION .)
