# What `cmake --install` adds for the studio: the program, its desktop entry with metadata,
# icon and man page. Included by Install.cmake after the window's, whose variables it reuses.

if(NOT TARGET arraypattern-studio)
  return()
endif()

install(TARGETS arraypattern-studio RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${ARRAYPATTERN_DATA}/${ARRAYPATTERN_STUDIO_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${ARRAYPATTERN_DATA}/${ARRAYPATTERN_STUDIO_ID}.metainfo.xml.in
               ${ARRAYPATTERN_GENERATED}/${ARRAYPATTERN_STUDIO_ID}.metainfo.xml @ONLY)
install(FILES ${ARRAYPATTERN_GENERATED}/${ARRAYPATTERN_STUDIO_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(studio_svg ${ARRAYPATTERN_DATA}/icons/${ARRAYPATTERN_STUDIO_ID}.svg)
install(FILES ${studio_svg} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
set(studio_outputs)
foreach(side 48 256)
  set(png ${ARRAYPATTERN_GENERATED}/icons/${side}/${ARRAYPATTERN_STUDIO_ID}.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ARRAYPATTERN_GENERATED}/icons/${side}
    COMMAND ${RSVG_CONVERT} --width ${side} --height ${side} --output ${png} ${studio_svg}
    DEPENDS ${studio_svg}
    COMMENT "Rendering the studio's ${side} px icon"
    VERBATIM)
  list(APPEND studio_outputs ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${side}x${side}/apps)
endforeach()

# The page is the studio's --help (in English, whatever the builder's locale) with the
# description of the window around it.
set(studio_man ${ARRAYPATTERN_GENERATED}/arraypattern-studio.1)
add_custom_command(OUTPUT ${studio_man}.gz
  COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C LANGUAGE=
          ${HELP2MAN} --no-info --include ${ARRAYPATTERN_DATA}/arraypattern-studio.h2m
          --output ${studio_man} $<TARGET_FILE:arraypattern-studio>
  COMMAND ${GZIP} -9nf --keep ${studio_man}
  DEPENDS arraypattern-studio ${ARRAYPATTERN_DATA}/arraypattern-studio.h2m
  COMMENT "Writing the arraypattern-studio man page from its --help"
  VERBATIM)
list(APPEND studio_outputs ${studio_man}.gz)
install(FILES ${studio_man}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

add_custom_target(studio-desktop-files ALL DEPENDS ${studio_outputs})
