#include "core/Engine.h"

#include "core/GameSetup.h"
#include "core/Int16.h"
#include "rules/ActionResolver.h"
#include "rules/StrongStrategy.h"

namespace yuunagi {
namespace {

bool OnBoard(int i) { return i >= 0 && i < kDistrictCount; }

}  // namespace

Engine::Engine(Host& host, RandomSource& random) : host_(host), random_(random) {}

Engine::~Engine() = default;

// ---- The computer players ----

void Engine::SetComputerLevel(int faction, ComputerLevel level) {
  if (OnBoard(faction)) levels_[faction] = level;
}

ComputerLevel Engine::ComputerLevelOf(int faction) const {
  return OnBoard(faction) ? levels_[faction] : ComputerLevel::Normal;
}

void Engine::SetStrongSeed(std::uint64_t seed) {
  strongSeed_ = seed;
  strong_.reset();
}

ComputerPlayer& Engine::PlayerOf(int faction) {
  if (levels_[faction] != ComputerLevel::Strong) return strategy_;
  if (!strong_) strong_ = std::make_unique<StrongStrategy>(strongSeed_);
  return *strong_;
}

// ---- Before a game ----

void Engine::SetStartMode(i16 mode) {
  if (data_.GameState == Phase::NotStarted && (mode == 0 || mode == 1)) data_.StartMode = mode;
}

void Engine::SetSaveSlot(i16 slot) {
  if (data_.GameState == Phase::NotStarted && slot >= 0 && slot < 4) data_.SaveSlot = slot;
}

void Engine::ChooseScenario(const ScenarioRecord& scenario, std::string name) {
  if (data_.GameState != Phase::NotStarted) return;
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
  if (data_.GameState != Phase::NotStarted) return;
  data_.PlayerCount = 0;
  data_.PlayerOfFaction.fill(0);
}

i16 Engine::JoinFaction(int faction) {
  if (data_.GameState != Phase::NotStarted || !OnBoard(faction) || IsHumanFaction(faction)) return 0;
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

bool Engine::Running() const { return data_.GameState != Phase::NotStarted && !finished_; }

Refusal Engine::PhaseRefusal(Action action) const {
  if (!Running() || acted_) return Refusal::WrongPhase;
  if (!MoverIsHuman()) return deciding_ ? Refusal::None : Refusal::WrongPhase;
  const Phase phase = action == Action::Attack ? Phase::AwaitingTarget : Phase::Moving;
  return data_.GameState == phase ? Refusal::None : Refusal::WrongPhase;
}

ActionCheck Engine::CheckAction(Action action, i16 value, i16 target) const {
  if (const Refusal phase = PhaseRefusal(action); phase != Refusal::None) return ActionCheck{action, phase};
  return CheckBoardAction(data_, action, value, target);
}

bool Engine::AwaitsHumanChoice() const {
  return Running() && !acted_ && data_.GameState == Phase::Moving && MoverIsHuman();
}

bool Engine::ChooseAmountAction(Action action) {
  if (!AwaitsHumanChoice() ||
      (action != Action::Develop && action != Action::Hire && action != Action::Train)) {
    return false;
  }
  data_.SelectedCommand = static_cast<i16>(action);
  return true;
}

ActionCheck Engine::BeginTargeting(i16 level) {
  if (!AwaitsHumanChoice()) return ActionCheck{Action::Attack, Refusal::WrongPhase};
  const ActionCheck check = CheckWeaponChoice(Mover(), level);
  if (!check) return check;
  data_.GameState = Phase::AwaitingTarget;
  data_.SelectedCommand = level;
  return check;
}

bool Engine::CancelTargeting() {
  if (!Running() || data_.GameState != Phase::AwaitingTarget) return false;
  data_.GameState = Phase::Moving;
  return true;
}

bool Engine::FillSaveData() {
  if (!AwaitsHumanChoice()) return false;
  data_.SaveData = MakeSaveRecord(data_);
  return true;
}

std::optional<SaveRecord> Engine::RecordOfNextMove() const {
  const bool decided = data_.GameState == Phase::Victory || data_.GameState == Phase::LastHumanDestroyed;
  if (!Running() || decided) return std::nullopt;
  if (!acted_) return MakeSaveRecord(data_);
  GameData next = data_;
  AdvanceMover(next);
  return MakeSaveRecord(next);
}

// ---- Actions ----

ActionCheck Engine::ExecuteAction(Action action, i16 value, i16 target) {
  const ActionCheck check = CheckAction(action, value, target);
  if (!check) return check;
  acted_ = true;
  ++moves_;
  if (MoverIsHuman()) data_.GameState = Phase::AwaitingClick;
  const ActionReport report = ApplyAction(data_, action, value, target, random_);
  ShowActionOnBoard(report);
  FinishAction(report);
  return check;
}

// The panels the action changed, before anything is repainted.
void Engine::ShowActionOnBoard(const ActionReport& report) {
  if (report.action == Action::Attack) {
    if (report.captured) host_.DrawDistrictEmblems();
    host_.RefreshDistrictPanel(report.target);
  }
  host_.RefreshDistrictPanel(report.moverDistrict);
}

// After every action: the report on the message line, then the end of the
// game, or the news of a destroyed faction.
void Engine::FinishAction(const ActionReport& report) {
  host_.ReportAction(report);
  const int destroyed = report.destroyedFaction;
  if (report.victory) {
    data_.GameState = Phase::Victory;
    winner_ = data_.Districts[0].Owner;
    EndGame(Notice{NoticeKind::TownTaken, winner_});
  } else if (destroyed >= 0 && data_.PlayerCount == 0) {
    data_.GameState = Phase::LastHumanDestroyed;
    EndGame(Notice{NoticeKind::LastHumanFallen, destroyed});
  } else if (destroyed >= 0) {
    data_.GameState = Phase::FactionDestroyed;
    host_.Yield();
    if (data_.PlayerCount != kSpectatorPlayerCount) {
      host_.ShowNotice(Notice{NoticeKind::FactionDestroyed, destroyed});
    }
    if (IsHumanFaction(report.moverFaction)) AdvanceMove();
  }
}

void Engine::EndGame(const Notice& notice) {
  host_.Yield();
  host_.StopMusic();
  host_.ShowNotice(notice);
  finished_ = true;
  host_.EndProgram();
}

void Engine::ChooseComputerAction() {
  const std::optional<Decision> decision = PlayerOf(Mover().Owner).Decide(data_, random_);
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
  data_.GameState = Phase::Moving;
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
  host_.ShowGameLine(GameLine::BattleBegins);
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
  host_.ShowMoveStart(MoveStart{data_.TurnNumber, current, owner, data_.PlayerOfFaction[owner]});
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
  if (!Running() || data_.GameState != Phase::AwaitingClick) return false;
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
  data_.GameState = Phase::Moving;
  host_.HighlightMover(data_.CurrentDistrict, false);
  const bool newTurn = AdvanceMover(data_);
  acted_ = false;  // the board stands at the next mover's move, not yet played
  if (!newTurn) {
    BeginMove();
    return;
  }
  host_.ShowTurnNumber(data_.TurnNumber);
  for (int i = 0; i < kDistrictCount; ++i) host_.RefreshDistrictPanel(i);
  host_.Yield();
  host_.TurnCompleted();
  BeginMove();
}

}  // namespace yuunagi
