# Background music: the FluidSynth player, offline rendering, and the songs.
find_package(PkgConfig REQUIRED)
pkg_check_modules(FLUIDSYNTH REQUIRED IMPORTED_TARGET fluidsynth)
find_package(Threads REQUIRED)

add_library(yuunagi_music STATIC)
target_sources(yuunagi_music PRIVATE
  # media/: reading MIDI files, the synthesizer, the player, offline rendering
  media/MidiFile.cpp
  media/MusicSynth.cpp
  media/MusicPlayer.cpp
  media/MusicRender.cpp
)
target_include_directories(yuunagi_music PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(yuunagi_music PUBLIC PkgConfig::FLUIDSYNTH Threads::Threads ${CMAKE_DL_LIBS})

# The songs are committed; `cmake --build . --target music` rebuilds them
# from their scores with tools/make-music.
file(GLOB YUUNAGI_MUSIC_SCORES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/Music/scores/*.score)
add_custom_target(music
  COMMAND make-music --out ${CMAKE_SOURCE_DIR}/assets/Music ${YUUNAGI_MUSIC_SCORES}
  DEPENDS make-music
  COMMENT "Compiling the scores into assets/Music"
  VERBATIM)

# Every build copies the songs next to the program.
file(GLOB YUUNAGI_MUSIC_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/Music/*.mid)
if(NOT YUUNAGI_MUSIC_FILES)
  message(FATAL_ERROR "No song in assets/Music")
endif()
set(_music_copies)
foreach(song ${YUUNAGI_MUSIC_FILES})
  get_filename_component(_name ${song} NAME)
  add_custom_command(
    OUTPUT ${YUUNAGI_BIN_DIR}/Music/${_name}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${YUUNAGI_BIN_DIR}/Music
    COMMAND ${CMAKE_COMMAND} -E copy ${song} ${YUUNAGI_BIN_DIR}/Music/${_name}
    DEPENDS ${song}
    VERBATIM)
  list(APPEND _music_copies ${YUUNAGI_BIN_DIR}/Music/${_name})
endforeach()
add_custom_target(music_files ALL DEPENDS ${_music_copies})
