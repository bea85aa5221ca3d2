# The game window (Qt 6 Widgets) and the game itself, build/bin/yuunagi.
# The window code lives in a library so the tests and benchmarks drive the
# very window the game shows.
if(NOT TARGET yuunagi_music)
  message(STATUS "The game window needs the music player (yuunagi_music); not built.")
  return()
endif()

find_package(Qt6 REQUIRED COMPONENTS Widgets)

add_library(yuunagi_window STATIC
  core/MainForm.cpp
  core/WindowHost.cpp
  core/BoardDisplay.cpp
  core/StartUp.cpp
  media/Pictures.cpp
  files/TitleScreen.cpp
  files/SaveSlots.cpp
  commands/FactionSelection.cpp
  commands/ActionMenu.cpp
  commands/WeaponMenu.cpp
  commands/AmountText.cpp
  commands/KeyboardPlay.cpp
)
set_target_properties(yuunagi_window PROPERTIES AUTOMOC ON)
target_include_directories(yuunagi_window PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(yuunagi_window PUBLIC yuunagi_engine yuunagi_music Qt6::Widgets)
# The war record window 戦況記録, opened beside the game with the key L.
target_sources(yuunagi_window PRIVATE core/WarRecord.cpp core/WarRecordWindow.cpp)

add_executable(yuunagi core/main.cpp)
target_link_libraries(yuunagi PRIVATE yuunagi_window)
