# What `cmake --install` puts where. The installed game finds its pictures,
# scenarios and music in ../share/yuunagi from its program and keeps the
# player's saves and own scenarios in $XDG_DATA_HOME/yuunagi.
set(YUUNAGI_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(YUUNAGI_GENERATED_DIR ${CMAKE_BINARY_DIR}/packaging)

# The game goes beside the tools unless told otherwise (Debian: games). From
# either folder its data is ../share/yuunagi.
set(YUUNAGI_GAME_INSTALL_DIR ${CMAKE_INSTALL_BINDIR} CACHE STRING "Where the game itself is installed")
install(TARGETS yuunagi RUNTIME DESTINATION ${YUUNAGI_GAME_INSTALL_DIR})
install(TARGETS yuunagi-data yuunagi-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The data: the scenarios are installed from assets/ where they are built.
install(FILES ${YUUNAGI_PICTURE_FILES} DESTINATION ${YUUNAGI_DATA_INSTALL_DIR}/Picture)
install(FILES ${YUUNAGI_MUSIC_FILES} DESTINATION ${YUUNAGI_DATA_INSTALL_DIR}/Music)

# The menu entry, its AppStream data and its icons, all named after the id.
install(FILES ${YUUNAGI_PACKAGING_DIR}/${YUUNAGI_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size ${YUUNAGI_ICON_SIZES})
  install(FILES ${CMAKE_SOURCE_DIR}/assets/icons/hicolor/${size}x${size}/apps/yuunagi.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME ${YUUNAGI_APP_ID}.png)
endforeach()

# Software centres want https addresses for screenshots. The game has no web
# home of its own yet: give the address where docs/screenshots/2x is served
# and the AppStream data lists the five screenshots from there.
set(YUUNAGI_SCREENSHOT_URL "" CACHE STRING
    "https address of the folder that serves docs/screenshots/2x (empty: the AppStream data names no screenshots)")

# Writes the AppStream data to `output` with the screenshots of `url`.
function(yuunagi_metainfo output url)
  set(YUUNAGI_METAINFO_SCREENSHOTS "")
  if(url)
    if(NOT url MATCHES "^https://")
      message(FATAL_ERROR "YUUNAGI_SCREENSHOT_URL must be an https address: ${url}")
    endif()
    set(shots "  <screenshots>\n")
    foreach(shot "title|The title screen|タイトル画面"
                 "slots|Choosing one of the four save slots|セーブスロットの選択"
                 "scenario|Choosing a scenario and reading its description|シナリオの選択"
                 "factions|Each player picks a faction|勢力の選択"
                 "game|A game under way|対戦中の町")
      string(REPLACE "|" ";" shot "${shot}")
      list(GET shot 0 name)
      list(GET shot 1 caption)
      list(GET shot 2 caption_ja)
      set(type "")
      if(name STREQUAL "title")
        set(type " type=\"default\"")
      endif()
      string(APPEND shots "    <screenshot${type}>\n"
                          "      <caption>${caption}</caption>\n"
                          "      <caption xml:lang=\"ja\">${caption_ja}</caption>\n"
                          "      <image type=\"source\" width=\"1032\" height=\"876\">${url}/${name}.png</image>\n"
                          "    </screenshot>\n")
    endforeach()
    string(APPEND shots "  </screenshots>")
    set(YUUNAGI_METAINFO_SCREENSHOTS "${shots}")
  endif()
  configure_file(${YUUNAGI_PACKAGING_DIR}/${YUUNAGI_APP_ID}.metainfo.xml.in ${output} @ONLY)
endfunction()

set(YUUNAGI_METAINFO ${YUUNAGI_GENERATED_DIR}/${YUUNAGI_APP_ID}.metainfo.xml)
yuunagi_metainfo(${YUUNAGI_METAINFO} "${YUUNAGI_SCREENSHOT_URL}")
install(FILES ${YUUNAGI_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The newest release the AppStream data names is this version.
file(READ ${YUUNAGI_PACKAGING_DIR}/${YUUNAGI_APP_ID}.metainfo.xml.in _metainfo)
string(REGEX MATCH "<release version=\"[^\"]*\"" _newest "${_metainfo}")
if(NOT _newest STREQUAL "<release version=\"${PROJECT_VERSION}\"")
  message(FATAL_ERROR "The AppStream data's newest release (${_newest}) is not ${PROJECT_VERSION}")
endif()

# Manual pages and the changelog, compressed without time stamps as Debian
# wants them (gzip -9n).
set(_compressed)
foreach(file man/yuunagi.6 man/yuunagi-data.1 man/yuunagi-sim.1 debian/changelog)
  set(output ${YUUNAGI_GENERATED_DIR}/${file}.gz)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${YUUNAGI_PACKAGING_DIR}/${file} -DOUTPUT=${output}
            -P ${CMAKE_SOURCE_DIR}/cmake/Gzip.cmake
    DEPENDS ${YUUNAGI_PACKAGING_DIR}/${file} ${CMAKE_SOURCE_DIR}/cmake/Gzip.cmake
    COMMENT "Compressing ${file}"
    VERBATIM)
  list(APPEND _compressed ${output})
endforeach()
add_custom_target(packaging_files ALL DEPENDS ${_compressed})

install(FILES ${YUUNAGI_GENERATED_DIR}/man/yuunagi.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${YUUNAGI_GENERATED_DIR}/man/yuunagi-data.1.gz ${YUUNAGI_GENERATED_DIR}/man/yuunagi-sim.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# The licences (Debian's machine-readable form) and the release notes.
install(FILES ${YUUNAGI_PACKAGING_DIR}/debian/copyright ${YUUNAGI_GENERATED_DIR}/debian/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/yuunagi)
