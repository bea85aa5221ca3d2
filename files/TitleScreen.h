// The game logic of the title and file-selection screens: the title
// buttons, the save-slot panel and, for a new game, the scenario list with
// its descriptions.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <string>

#include "files/ScenarioListing.h"

namespace yuunagi {

class MainForm;

class TitleScreen {
 public:
  explicit TitleScreen(MainForm& form);
  // A listing under way stops with the screen.
  ~TitleScreen();

  // Why the selected scenario cannot be played; nullopt when it can.
  const std::optional<std::string>& ScenarioProblem() const { return scenarioProblem_; }

 private:
  // はじめから (0) or つづきから (1).
  void ChooseStart(int startMode);
  // 決定 of the slot panel.
  void ConfirmSlot();
  // キャンセル of the slot panel: back to the title.
  void CancelSlots();
  // Lists the scenarios in the background; the list opens with the first ones.
  void ShowScenarioList();
  void AddScenarios(const ScenarioListing::Batch& batch);
  // No scenario at all: the game cannot start, and ends.
  void EndWithoutScenarios();
  // Another scenario is selected in the list: read and describe it.
  void DescribeScenario(const QByteArray& fileName, const QString& name);

  MainForm& form_;
  ScenarioListing* listing_;  // a child of the window, stopped when it goes
  std::optional<std::string> scenarioProblem_ = std::string();
};

}  // namespace yuunagi
