#include "core/Engine.h"

#include "core/GameSetup.h"
#include "core/Int16.h"

namespace yuunagi {
namespace {

bool OnBoard(int i) { return i >= 0 && i < kDistrictCount; }

}  // namespace

// ---- Before a game ----

void Engine::SetStartMode(i16 mode) {
  if (data_.GameState == State::NotStarted && (mode == 0 || mode == 1)) data_.StartMode = mode;
}

void Engine::SetSaveSlot(i16 slot) {
  if (data_.GameState == State::NotStarted && slot >= 0 && slot < 4) data_.SaveSlot = slot;
}

void Engine::ChooseScenario(const ScenarioRecord& scenario, std::string name) {
  if (data_.GameState != State::NotStarted) return;
  data_.Scenario = scenario;
  data_.ScenarioName = std::move(name);
  data_.FactionCount = static_cast<i16>(ScenarioFactionCount());
}

int Engine::ScenarioFactionCount() const {
  std::array<bool, kFactionCount> onBoard{};
  int count = 0;
  for (const i16 owner : data_.Scenario.StartOwner) {
    if (OnBoard(owner) && !onBoard[owner]) {
      onBoard[owner] = true;
      ++count;
    }
  }
  return count;
}

void Engine::ClearPlayers() {
  if (data_.GameState != State::NotStarted) return;
  data_.PlayerCount = 0;
  data_.PlayerOfFaction.fill(0);
}

i16 Engine::JoinFaction(int faction) {
  if (data_.GameState != State::NotStarted || !OnBoard(faction) || IsHumanFaction(faction)) return 0;
  data_.PlayerCount = Add16(data_.PlayerCount, 1);
  data_.PlayerOfFaction[faction] = data_.PlayerCount;
  return data_.PlayerCount;
}

bool Engine::StartNewGameFromScenario() {
  if (Running()) return false;
  if (data_.PlayerCount == 0) data_.PlayerCount = kSpectatorPlayerCount;
  LoadScenarioBoard(data_.Scenario, data_);
  return StartGame();
}

bool Engine::ContinueFromSaveData(const SaveRecord& save) {
  if (Running()) return false;
  data_.SaveData = save;
  LoadSavedGame(save, data_);
  return StartGame();
}

// ---- Phases ----

bool Engine::Running() const { return data_.GameState != State::NotStarted && !finished_; }

Refusal Engine::PhaseRefusal(i16 action) const {
  if (!Running() || acted_) return Refusal::WrongPhase;
  if (!MoverIsHuman()) return deciding_ ? Refusal::None : Refusal::WrongPhase;
  const i16 phase = action == Attack ? State::AwaitingTarget : State::Moving;
  return data_.GameState == phase ? Refusal::None : Refusal::WrongPhase;
}

ActionCheck Engine::CheckAction(i16 action, i16 value, i16 target) const {
  if (const Refusal phase = PhaseRefusal(action); phase != Refusal::None) return ActionCheck{action, phase};
  return CheckBoardAction(data_, action, value, target);
}

bool Engine::AwaitsHumanChoice() const {
  return Running() && !acted_ && data_.GameState == State::Moving && MoverIsHuman();
}

bool Engine::ChooseAmountAction(i16 action) {
  if (!AwaitsHumanChoice() || (action != Develop && action != Hire && action != Train)) return false;
  data_.SelectedCommand = action;
  return true;
}

ActionCheck Engine::BeginTargeting(i16 level) {
  if (!AwaitsHumanChoice()) return ActionCheck{Attack, Refusal::WrongPhase};
  const ActionCheck check = CheckWeaponChoice(Mover(), level);
  if (!check) return check;
  data_.GameState = State::AwaitingTarget;
  data_.SelectedCommand = level;
  return check;
}

bool Engine::CancelTargeting() {
  if (!Running() || data_.GameState != State::AwaitingTarget) return false;
  data_.GameState = State::Moving;
  return true;
}

bool Engine::FillSaveData() {
  if (!AwaitsHumanChoice()) return false;
  data_.SaveData = MakeSaveRecord(data_);
  return true;
}

// ---- Actions ----

ActionCheck Engine::ExecuteAction(i16 action, i16 value, i16 target) {
  const ActionCheck check = CheckAction(action, value, target);
  if (!check) return check;
  acted_ = true;
  ++moves_;
  const int moverFaction = Mover().Owner;
  if (IsHumanFaction(moverFaction)) data_.GameState = State::AwaitingClick;
  FinishAction(moverFaction, resolver_.Resolve(action, value, target));
  return check;
}

// After every action: the report on the message line, then the end of the
// game, or the news of a destroyed faction.
void Engine::FinishAction(int moverFaction, const ActionOutcome& outcome) {
  message_.clear();
  message_.append(FactionNames[moverFaction]).append("の戦略: ").append(resolver_.Report());
  host_.SetMessage(message_);
  const int destroyed = outcome.destroyedFaction;
  if (data_.GameState == State::Victory) {
    winner_ = data_.Districts[0].Owner;
    EndGame(std::string(FactionNames[winner_]) + "はユウナギ町を制圧した。");
  } else if (destroyed >= 0 && data_.GameState == State::LastHumanDestroyed) {
    EndGame(std::string(FactionNames[destroyed]) + "は滅亡した。");
  } else if (destroyed >= 0 && data_.GameState == State::FactionDestroyed) {
    host_.Yield();
    if (data_.PlayerCount != kSpectatorPlayerCount) {
      host_.ShowMessageBox(std::string(FactionNames[destroyed]) + "は滅亡した。");
    }
    if (IsHumanFaction(moverFaction)) AdvanceMove();
  }
}

void Engine::EndGame(const std::string& message) {
  host_.Yield();
  host_.StopMusic();
  host_.ShowMessageBox(message);
  finished_ = true;
  host_.EndProgram();
}

void Engine::ChooseComputerAction() {
  const std::optional<Decision> decision = strategy_.Decide(data_, random_);
  if (!decision) return;
  deciding_ = true;
  ExecuteAction(decision->action, decision->value, decision->target);
  deciding_ = false;
}

// ---- The turn cycle: every district moves once per turn in index order;
// the computer plays the districts nobody plays, humans get the action menu;
// each new turn begins with every district's income. ----

bool Engine::StartGame() {
  if (Running() || !OnBoard(data_.CurrentDistrict)) return false;
  for (const DistrictRecord& d : data_.Districts) {
    if (!OnBoard(d.Owner)) return false;
  }
  finished_ = false;
  winner_ = -1;
  data_.GameState = State::Moving;
  for (int i = 0; i < kDistrictCount; ++i) {
    DistrictRecord& d = data_.Districts[i];
    d.Money = Limit16(d.Money, kMoneyLimit);
    d.Soldiers = Limit16(d.Soldiers, kSoldiersLimit);
    d.Strength = Limit16(d.Strength, kStrengthLimit);
    d.Development = Limit16(d.Development, kDevelopmentLimit);
    d.Weapon = Limit16(d.Weapon, kWeaponLimit);
    host_.RefreshDistrictPanel(i);
  }
  host_.DrawDistrictEmblems();
  host_.ShowGameScreen(data_.ScenarioName);
  host_.ShowTurnNumber(data_.TurnNumber);
  host_.SetMessage("戦闘開始!!");
  host_.Yield();
  host_.PlayMusic(data_.MusicName);
  BeginMove();
  return true;
}

void Engine::BeginMove() {
  if (finished_) return;
  acted_ = false;
  const int current = data_.CurrentDistrict;
  const int owner = data_.Districts[current].Owner;
  host_.ShowStrategyOf(owner);
  host_.HighlightMover(current, true);
  if (IsHumanFaction(owner)) {
    host_.ShowActionMenu(data_.PlayerOfFaction[owner]);
    return;
  }
  ChooseComputerAction();
  if (finished_) return;
  acted_ = true;  // also when there was nothing to do: the move is over
  pauseDue_ = true;
  host_.Yield();
  host_.ScheduleNextMove(data_.GameSpeed / 1000.0f);
}

bool Engine::ContinueAfterAction() {
  if (!Running() || data_.GameState != State::AwaitingClick) return false;
  AdvanceMove();
  return true;
}

bool Engine::NextMove() {
  if (!Running() || !pauseDue_) return false;
  AdvanceMove();
  return true;
}

void Engine::AdvanceMove() {
  if (finished_) return;
  pauseDue_ = false;
  data_.GameState = State::Moving;
  host_.HighlightMover(data_.CurrentDistrict, false);
  data_.CurrentDistrict = static_cast<i16>((data_.CurrentDistrict + 1) % kDistrictCount);
  if (data_.CurrentDistrict != 0) {
    BeginMove();
    return;
  }
  data_.TurnNumber = Add16(data_.TurnNumber, 1);
  host_.ShowTurnNumber(data_.TurnNumber);
  for (int i = 0; i < kDistrictCount; ++i) {
    DistrictRecord& d = data_.Districts[i];
    // Formed wide, so a district somehow past the money limit cannot overflow.
    const long long income = static_cast<long long>(d.Money) + d.Development;
    d.Money = Saturate16(income > kMoneyLimit ? kMoneyLimit : income);
    host_.RefreshDistrictPanel(i);
  }
  host_.Yield();
  BeginMove();
}

}  // namespace yuunagi
