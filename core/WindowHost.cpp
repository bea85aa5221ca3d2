#include "core/WindowHost.h"

#include <string>

#include "commands/ActionPanel.h"
#include "core/BoardDisplay.h"
#include "core/MainForm.h"
#include "core/StatusPanel.h"
#include "core/TurnPanel.h"
#include "core/WarRecordWindow.h"
#include "media/MusicPlayer.h"

namespace yuunagi {

void WindowHost::RefreshDistrictPanel(int district) {
  yuunagi::RefreshDistrictPanel(form_, form_.Data(), district);
}

void WindowHost::DrawDistrictEmblems() { yuunagi::DrawDistrictEmblems(form_, form_.Data()); }

void WindowHost::ReportAction(const ActionReport& report) {
  form_.RecordWindow().RecordAction(form_.Data(), report);
  form_.SetMessage(MessageLineText(report));
  form_.UpdateWaitCue();
}

void WindowHost::ShowGameLine(GameLine line) {
  form_.RecordWindow().RecordGameLine(form_.Data(), line);
  form_.SetMessage(GameLineText(line));
  form_.UpdateWaitCue();
}

void WindowHost::ShowNotice(const Notice& notice) {
  form_.RecordWindow().RecordNotice(form_.Data(), notice);
  form_.ShowMessageBox(NoticeText(notice));
}

void WindowHost::PlayMusic(std::string_view name) { form_.PlayMusic(name); }

void WindowHost::StopMusic() { form_.StopMusic(); }

void WindowHost::Yield() { form_.RepaintNow(); }

void WindowHost::ShowGameScreen(std::string_view scenarioName) {
  std::string caption(GameTitle);
  caption += "～";
  caption += scenarioName;
  caption += "～";
  form_.ShowGameScreen(ToQString(caption));
}

void WindowHost::ShowTurnNumber(int turn) {
  form_.RecordWindow().RecordTurn(form_.Data());
  form_.Turn().ShowTurn(turn);
}

void WindowHost::ShowMoveStart(const MoveStart& move) { form_.Turn().ShowStrategyOf(move.faction); }

void WindowHost::HighlightMover(int district, bool on) {
  form_.UpdateWaitCue();
  form_.Status(district).HighlightOwner(on, form_.Zoom());
}

void WindowHost::ShowActionMenu(int player) { form_.ActionMenuPanel().Open(player); }

void WindowHost::ScheduleNextMove(float seconds) { form_.ScheduleNextMove(seconds); }

void WindowHost::EndProgram() { form_.EndProgram(); }

}  // namespace yuunagi
