# The game window (Qt 6 Widgets) and the game itself, build/bin/yuunagi.
# The window code lives in a library so the tests and benchmarks drive the
# very window the game shows.
find_package(Qt6 REQUIRED COMPONENTS Widgets)

add_library(yuunagi_window STATIC)
target_sources(yuunagi_window PRIVATE
  # core/: the window, its start, the board and the engine's host
  core/MainForm.cpp
  core/BoxKeyGuard.cpp
  core/Layout.cpp
  core/PanelFocus.cpp
  core/StatusPanel.cpp
  core/TurnPanel.cpp
  core/MessagePanel.cpp
  core/SpeedBar.cpp
  core/MainFormHost.cpp
  core/MainFormKeeping.cpp
  core/Screens.cpp
  core/BoardDisplay.cpp
  core/StartUp.cpp
  core/PlayerSettings.cpp
  core/SettingsWindow.cpp
  # files/: the title screen, the save-slot panel and the scenario list
  files/TitleScreen.cpp
  files/TitleButtons.cpp
  files/SaveSlots.cpp
  files/GameQuestions.cpp
  files/SaveSlotPanel.cpp
  files/ScenarioPanel.cpp
  files/ScenarioListing.cpp
  # commands/: the players' menus
  commands/FactionSelection.cpp
  commands/FactionPicker.cpp
  commands/ActionMenu.cpp
  commands/ActionPanel.cpp
  commands/AmountPanel.cpp
  commands/WeaponMenu.cpp
  commands/WeaponPanel.cpp
  commands/KeyboardPlay.cpp
  # media/: the picture helpers
  media/Pictures.cpp
)
set_target_properties(yuunagi_window PROPERTIES AUTOMOC ON)
target_include_directories(yuunagi_window PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(yuunagi_window PUBLIC yuunagi_engine yuunagi_music Qt6::Widgets)
# The war record window 戦況記録, opened beside the game with the key L.
target_sources(yuunagi_window PRIVATE core/WarRecord.cpp core/WarRecordFile.cpp core/WarRecordWindow.cpp)

add_executable(yuunagi core/main.cpp)
target_link_libraries(yuunagi PRIVATE yuunagi_window)
target_compile_definitions(yuunagi PRIVATE YUUNAGI_VERSION="${PROJECT_VERSION}"
                                           YUUNAGI_APP_ID="${YUUNAGI_APP_ID}")
# The window's icon travels inside the program.
set(YUUNAGI_ICON_SIZES 16 32 48 64 128 256)
set(_icon_files)
foreach(size ${YUUNAGI_ICON_SIZES})
  list(APPEND _icon_files ${CMAKE_SOURCE_DIR}/assets/icons/hicolor/${size}x${size}/apps/yuunagi.png)
endforeach()
qt_add_resources(yuunagi icons PREFIX / BASE ${CMAKE_SOURCE_DIR}/assets FILES ${_icon_files})
