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
  void SetMessage(std::string_view text) override;
  void ShowMessageBox(std::string_view text) override;
  void PlayMusic(std::string_view name) override;
  void StopMusic() override;
  void Yield() override;
  void ShowGameScreen(std::string_view scenarioName) override;
  void ShowTurnNumber(int turn) override;
  void ShowStrategyOf(int faction) override;
  void HighlightMover(int district, bool on) override;
  void ShowActionMenu(int player) override;
  void ScheduleNextMove(float seconds) override;
  void EndProgram() override;

 private:
  MainForm& form_;
};

}  // namespace yuunagi
