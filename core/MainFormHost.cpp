// MainForm as the engine's host: what the rules and the turn cycle ask of
// the screen, done on the window's panels. The music, the pause and the end
// of the program are MainForm's own methods (core/MainForm.cpp).
#include <string>

#include "commands/ActionPanel.h"
#include "core/BoardDisplay.h"
#include "core/MainForm.h"
#include "core/StatusPanel.h"
#include "core/TurnPanel.h"
#include "core/WarRecordWindow.h"

namespace yuunagi {

void MainForm::RefreshDistrictPanel(int district) {
  yuunagi::RefreshDistrictPanel(*status_[district], Data().Districts[district]);
}

void MainForm::DrawDistrictEmblems() { yuunagi::DrawDistrictEmblems(status_, emblems_, Data()); }

void MainForm::ReportAction(const ActionReport& report) {
  record_->RecordAction(Data(), report);
  SetMessage(MessageLineText(report));
  UpdateWaitCue();
}

void MainForm::ShowGameLine(GameLine line) {
  record_->RecordGameLine(Data(), line);
  SetMessage(GameLineText(line));
  UpdateWaitCue();
}

void MainForm::ShowNotice(const Notice& notice) {
  record_->RecordNotice(Data(), notice);
  ShowMessageBox(NoticeText(notice));
}

void MainForm::Yield() { RepaintNow(); }

void MainForm::ShowGameScreen(std::string_view scenarioName) {
  std::string caption(GameTitle);
  caption += "～";
  caption += scenarioName;
  caption += "～";
  ShowGameScreen(ToQString(caption));
}

void MainForm::ShowTurnNumber(int turn) {
  record_->RecordTurn(Data());
  turn_->ShowTurn(turn);
}

void MainForm::ShowMoveStart(const MoveStart& move) { turn_->ShowStrategyOf(move.faction); }

void MainForm::HighlightMover(int district, bool on) {
  UpdateWaitCue();
  status_[district]->HighlightOwner(on, Zoom());
}

void MainForm::ShowActionMenu(int player) { actions_->Open(player); }

}  // namespace yuunagi
