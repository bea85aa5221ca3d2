# The game engine: rules, turn cycle, data files, text helpers and the amount
# reader of the players' commands. No Qt here, so the window and the
# command-line tools share one set of rules.
add_library(yuunagi_engine STATIC)
target_sources(yuunagi_engine PRIVATE
  # core/: the engine with its phases and turn cycle, set-up from files, a game without a window
  core/Engine.cpp
  core/GameSetup.cpp
  core/HeadlessGame.cpp
  # rules/: what is legal, what each action does, how the computer chooses
  rules/RuleBook.cpp
  rules/ActionResolver.cpp
  rules/Reports.cpp
  rules/Attack.cpp
  rules/Economy.cpp
  rules/ComputerStrategy.cpp
  rules/StrongStrategy.cpp
  rules/Random.cpp
  # commands/: the amount a player types, read the same way everywhere
  commands/AmountText.cpp
  # files/: the scenario and save files, the folders they live in, the text helpers
  files/Cp932.cpp
  files/ScenarioFile.cpp
  files/SaveFile.cpp
  files/Autosave.cpp
  files/Playability.cpp
  files/DataFolders.cpp
  files/RecordFile.cpp
  files/FileErrors.cpp
  files/TemporaryFiles.cpp
  files/Text.cpp
)
target_include_directories(yuunagi_engine PUBLIC ${CMAKE_SOURCE_DIR})
