# What `cmake --install` puts on a desktop system: both programs, the desktop entry with its
# metadata, icon and man pages, and the licence. Tests and benchmarks are never installed.

set(ARRAYPATTERN_DATA ${PROJECT_SOURCE_DIR}/data)
set(ARRAYPATTERN_GENERATED ${PROJECT_BINARY_DIR}/data)
set(ARRAYPATTERN_VERSION
    ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH})
set(ARRAYPATTERN_SCREENSHOT_URL "" CACHE STRING
    "Public address of docs/screenshot.png for the AppStream metadata; empty: no screenshot entry")

if(TARGET arraypattern)
  install(TARGETS arraypattern RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
if(TARGET arraypattern-cli)
  install(TARGETS arraypattern-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

if(NOT TARGET arraypattern)
  return()
endif()

install(FILES ${ARRAYPATTERN_DATA}/${ARRAYPATTERN_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

if(ARRAYPATTERN_SCREENSHOT_URL)
  set(ARRAYPATTERN_SCREENSHOTS "  <screenshots>
    <screenshot type=\"default\">
      <caption>Four emitters in a square steering one main lobe to bearing 45</caption>
      <image type=\"source\" width=\"862\" height=\"606\">${ARRAYPATTERN_SCREENSHOT_URL}</image>
    </screenshot>
  </screenshots>
")
else()
  set(ARRAYPATTERN_SCREENSHOTS "")
endif()
configure_file(${ARRAYPATTERN_DATA}/${ARRAYPATTERN_APP_ID}.metainfo.xml.in
               ${ARRAYPATTERN_GENERATED}/${ARRAYPATTERN_APP_ID}.metainfo.xml @ONLY)
install(FILES ${ARRAYPATTERN_GENERATED}/${ARRAYPATTERN_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The bitmaps are rendered from the one drawing at build time, so they cannot drift from it.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
set(ARRAYPATTERN_ICON_SVG ${ARRAYPATTERN_DATA}/icons/${ARRAYPATTERN_APP_ID}.svg)
install(FILES ${ARRAYPATTERN_ICON_SVG}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
set(ARRAYPATTERN_ICON_PNGS)
foreach(side 48 256)
  set(png ${ARRAYPATTERN_GENERATED}/icons/${side}/${ARRAYPATTERN_APP_ID}.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ARRAYPATTERN_GENERATED}/icons/${side}
    COMMAND ${RSVG_CONVERT} --width ${side} --height ${side} --output ${png}
            ${ARRAYPATTERN_ICON_SVG}
    DEPENDS ${ARRAYPATTERN_ICON_SVG}
    COMMENT "Rendering the ${side} px icon"
    VERBATIM)
  list(APPEND ARRAYPATTERN_ICON_PNGS ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${side}x${side}/apps)
endforeach()

# Man pages, gzipped as Debian keeps them. The command line's page is its own --help text (in
# English, whatever the builder's locale), so the two never drift; help2man's fill would run the usage lines together, so they are kept
# as written.
find_program(HELP2MAN help2man REQUIRED)
find_program(GZIP gzip REQUIRED)
configure_file(${ARRAYPATTERN_DATA}/arraypattern.1.in ${ARRAYPATTERN_GENERATED}/arraypattern.1
               @ONLY)
set(ARRAYPATTERN_MAN_PAGES
    ${ARRAYPATTERN_GENERATED}/arraypattern.1.gz ${ARRAYPATTERN_GENERATED}/arraypattern-cli.1.gz)
add_custom_command(OUTPUT ${ARRAYPATTERN_GENERATED}/arraypattern.1.gz
  COMMAND ${GZIP} -9nf --keep ${ARRAYPATTERN_GENERATED}/arraypattern.1
  DEPENDS ${ARRAYPATTERN_GENERATED}/arraypattern.1
  VERBATIM)
add_custom_command(OUTPUT ${ARRAYPATTERN_GENERATED}/arraypattern-cli.1.gz
  COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C LANGUAGE=
          ${HELP2MAN} --no-info --include ${ARRAYPATTERN_DATA}/arraypattern-cli.h2m
          --output ${ARRAYPATTERN_GENERATED}/arraypattern-cli.1 $<TARGET_FILE:arraypattern-cli>
  COMMAND sed -i -e "/^\\.SH DESCRIPTION$/a .nf" -e "0,/^\\.TP$/s//.fi\\n.TP/"
          ${ARRAYPATTERN_GENERATED}/arraypattern-cli.1
  COMMAND ${GZIP} -9nf --keep ${ARRAYPATTERN_GENERATED}/arraypattern-cli.1
  DEPENDS arraypattern-cli ${ARRAYPATTERN_DATA}/arraypattern-cli.h2m
  COMMENT "Writing the arraypattern-cli man page from its --help"
  VERBATIM)
install(FILES ${ARRAYPATTERN_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

add_custom_target(desktop-files ALL DEPENDS ${ARRAYPATTERN_ICON_PNGS} ${ARRAYPATTERN_MAN_PAGES})

# The classic arrays, as the window saves them, for users to load and change.
set(ARRAYPATTERN_EXAMPLES
  ${PROJECT_SOURCE_DIR}/examples/broadside-line-8.txt
  ${PROJECT_SOURCE_DIR}/examples/broadside-pair.txt
  ${PROJECT_SOURCE_DIR}/examples/cardioid-verticals-voltage.txt
  ${PROJECT_SOURCE_DIR}/examples/cardioid.txt
  ${PROJECT_SOURCE_DIR}/examples/dipole-pair-over-average-ground.txt
  ${PROJECT_SOURCE_DIR}/examples/dipole-pair-over-ground.txt
  ${PROJECT_SOURCE_DIR}/examples/end-fire-pair.txt
  ${PROJECT_SOURCE_DIR}/examples/four-square-over-average-ground.txt
  ${PROJECT_SOURCE_DIR}/examples/four-square-monopoles.txt
  ${PROJECT_SOURCE_DIR}/examples/four-square.txt
  ${PROJECT_SOURCE_DIR}/examples/pair-180-eighth-wave.txt
  ${PROJECT_SOURCE_DIR}/examples/yagi-2.txt)
install(FILES ${ARRAYPATTERN_EXAMPLES} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/arraypattern/examples)
# The same where a container keeps them (it drops /usr/share/doc): the Python module's
# documentation loads them from here.
install(FILES ${ARRAYPATTERN_EXAMPLES} DESTINATION ${CMAKE_INSTALL_DATADIR}/arraypattern/examples)

# Debian's place for the licence of a package.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/arraypattern
        RENAME copyright)

# The studio beside the window.
include(${PROJECT_SOURCE_DIR}/cmake/InstallStudio.cmake)
