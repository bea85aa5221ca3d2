// What the engine asks of the program it runs in. The game window and the
// command-line tools each implement this, so the rules exist only once.
#pragma once

#include <string_view>

#include "core/GameState.h"
#include "rules/Reports.h"

namespace yuunagi {

class Host {
 public:
  virtual ~Host() = default;

  // Board display: write the owner's name and the five numbers of district i.
  virtual void RefreshDistrictPanel(int district) = 0;
  // Board display: repaint every status panel with its holder's emblem.
  virtual void DrawDistrictEmblems() = 0;
  // The message line: what an action did (MessageLineText says it in words).
  virtual void ReportAction(const ActionReport& report) = 0;
  // The message line: a line of the game's own (GameLineText).
  virtual void ShowGameLine(GameLine line) = 0;
  // A modal message box with an OK button, captioned with the game title
  // (NoticeText).
  virtual void ShowNotice(const Notice& notice) = 0;

  virtual void PlayMusic(std::string_view name) = 0;
  virtual void StopMusic() = 0;

  // Let the screen catch up (repaint) before the game goes on.
  virtual void Yield() = 0;

  // Game screen, shown once when a game starts: the status panels, the turn
  // and message panels, the caption with the scenario name; the title hidden.
  virtual void ShowGameScreen(std::string_view scenarioName) = 0;
  // "Turn <n>" in the turn panel.
  virtual void ShowTurnNumber(int turn) = 0;
  // A turn is over: every district has moved, the new turn's income is paid
  // and district 0 moves next. A host that keeps the game writes it now.
  virtual void TurnCompleted() {}
  // A move begins: "<faction>の戦略" in the turn panel.
  virtual void ShowMoveStart(const MoveStart& move) = 0;
  // Highlight (or stop highlighting) the faction name of the moving district.
  virtual void HighlightMover(int district, bool on) = 0;
  // A human move begins: show the action menu headed with the player's number.
  virtual void ShowActionMenu(int player) = 0;

  // A computer move is done: after a pause of `seconds` the host calls
  // Engine::NextMove() from its own loop. It must never call it from inside
  // this function, so a long game of computer moves never nests.
  virtual void ScheduleNextMove(float seconds) = 0;

  // The game is over (or there is nothing to play): the window ends the
  // process; a tool stops the game. The engine does nothing after this call.
  virtual void EndProgram() = 0;
};

}  // namespace yuunagi
