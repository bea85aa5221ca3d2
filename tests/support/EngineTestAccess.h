// Lets a test lay out the board and act for a computer district directly,
// as the engine itself would from inside a computer move.
#pragma once

#include "core/Engine.h"

namespace yuunagi {

struct EngineTestAccess {
  static GameData& Data(Engine& engine) { return engine.data_; }
  // A fresh move of the same mover: not yet acted, nothing ended.
  static void NewMove(Engine& engine) {
    engine.acted_ = false;
    engine.finished_ = false;
    engine.data_.GameState = Phase::Moving;
  }
  static ActionCheck ActAsComputer(Engine& engine, Action action, i16 value, i16 target) {
    engine.deciding_ = true;
    const ActionCheck check = engine.ExecuteAction(action, value, target);
    engine.deciding_ = false;
    return check;
  }
};

}  // namespace yuunagi
