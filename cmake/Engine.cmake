# The game engine: rules, turn cycle, data files and text helpers. No Qt here,
# so the window and the command-line tools share one set of rules.
set(YUUNAGI_ENGINE_SOURCES
  core/GameState.cpp
  core/TurnCycle.cpp
  core/HeadlessGame.cpp
  rules/Actions.cpp
  rules/Strategy.cpp
  rules/Random.cpp
  files/Cp932.cpp
  files/ScenarioFile.cpp
  files/SaveFile.cpp
  files/Playability.cpp
  media/Text.cpp
)
# TEMPORARY while the engine is being written in parallel: skip files not yet there.
get_filename_component(_root ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
set(_present)
foreach(src ${YUUNAGI_ENGINE_SOURCES})
  if(EXISTS ${_root}/${src})
    list(APPEND _present ${_root}/${src})
  endif()
endforeach()
add_library(yuunagi_engine STATIC ${_present})
target_include_directories(yuunagi_engine PUBLIC ${_root})
