#include "core/WindowHost.h"

#include <QLabel>

#include <string>

#include "core/BoardDisplay.h"
#include "core/MainForm.h"
#include "core/WarRecordWindow.h"
#include "media/MusicPlayer.h"

namespace yuunagi {

void WindowHost::RefreshDistrictPanel(int district) {
  yuunagi::RefreshDistrictPanel(form_, form_.Data(), district);
}

void WindowHost::DrawDistrictEmblems() { yuunagi::DrawDistrictEmblems(form_, form_.Data()); }

void WindowHost::ReportAction(const ActionReport& report) {
  form_.Record->RecordAction(form_.Data(), report);
  form_.SetMessage(MessageLineText(report));
  form_.UpdateWaitCue();
}

void WindowHost::ShowGameLine(GameLine line) {
  form_.Record->RecordGameLine(form_.Data(), line);
  form_.SetMessage(GameLineText(line));
  form_.UpdateWaitCue();
}

void WindowHost::ShowNotice(const Notice& notice) {
  form_.Record->RecordNotice(form_.Data(), notice);
  form_.ShowMessageBox(NoticeText(notice));
}

void WindowHost::PlayMusic(std::string_view name) { form_.PlayMusic(name); }

void WindowHost::StopMusic() { form_.StopMusic(); }

void WindowHost::Yield() { form_.RepaintNow(); }

void WindowHost::ShowGameScreen(std::string_view scenarioName) {
  for (PictureBox* panel : form_.Picture3) panel->show();
  std::string caption(GameTitle);
  caption += "～";
  caption += scenarioName;
  caption += "～";
  form_.setWindowTitle(ToQString(caption));
  form_.Picture10->show();
  form_.Picture11->show();
  form_.TitleLabel->hide();
}

void WindowHost::ShowTurnNumber(int turn) {
  form_.Record->RecordTurn(form_.Data());
  MainForm::SetCaption(form_.Label8, "Turn " + std::to_string(turn));
}

void WindowHost::ShowMoveStart(const MoveStart& move) {
  MainForm::SetCaption(form_.Label7, std::string(FactionNames[move.faction]) + "の戦略");
}

void WindowHost::HighlightMover(int district, bool on) {
  form_.UpdateWaitCue();
  QLabel* name = form_.Data1[district];
  name->setFont(on ? form_.ZoomedFont(14, true) : form_.ZoomedFont(11));
  name->adjustSize();
}

void WindowHost::ShowActionMenu(int player) {
  MainForm::SetCaption(form_.Label1[1], "～<" + std::to_string(player) + "P>の戦略～");
  form_.Picture4->show();
}

void WindowHost::ScheduleNextMove(float seconds) { form_.ScheduleNextMove(seconds); }

void WindowHost::EndProgram() { form_.EndProgram(); }

}  // namespace yuunagi
