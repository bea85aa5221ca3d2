# The game engine: rules, turn cycle, data files and text helpers. No Qt here,
# so the window and the command-line tools share one set of rules.
add_library(yuunagi_engine STATIC
  core/Engine.cpp
  core/GameSetup.cpp
  core/HeadlessGame.cpp
  rules/RuleBook.cpp
  rules/ActionResolver.cpp
  rules/Attack.cpp
  rules/Economy.cpp
  rules/ComputerStrategy.cpp
  rules/StrongStrategy.cpp
  rules/Random.cpp
  files/Cp932.cpp
  files/ScenarioFile.cpp
  files/SaveFile.cpp
  files/Playability.cpp
  media/Text.cpp
)
target_include_directories(yuunagi_engine PUBLIC ${CMAKE_SOURCE_DIR})
