// The engine's host in the game window: what the rules and the turn cycle
// ask of the screen, the music and the process, done on MainForm.
#pragma once

#include "core/Host.h"

namespace yuunagi {

class MainForm;

class WindowHost final : public Host {
 public:
  explicit WindowHost(MainForm& form) : form_(form) {}

  void RefreshDistrictPanel(int district) override;
  void DrawDistrictEmblems() override;
  void ReportAction(const ActionReport& report) override;
  void ShowGameLine(GameLine line) override;
  void ShowNotice(const Notice& notice) override;
  void PlayMusic(std::string_view name) override;
  void StopMusic() override;
  void Yield() override;
  void ShowGameScreen(std::string_view scenarioName) override;
  void ShowTurnNumber(int turn) override;
  void ShowMoveStart(const MoveStart& move) override;
  void HighlightMover(int district, bool on) override;
  void ShowActionMenu(int player) override;
  void ScheduleNextMove(float seconds) override;
  void EndProgram() override;

 private:
  MainForm& form_;
};

}  // namespace yuunagi
