// The title and file-selection screens: the title buttons, the save-slot
// panel and, for a new game, the scenario list with its descriptions.
#pragma once

#include <optional>
#include <string>

namespace yuunagi {

class MainForm;

class TitleScreen {
 public:
  explicit TitleScreen(MainForm& form);

  // はじめから (0) or つづきから (1).
  void Command1_Click(int index);
  // A slot button of the slot panel.
  void Option1_Click(int index);
  // 決定 of the slot panel.
  void Command8_Click();
  // キャンセル of the slot panel: back to the title.
  void Command9_Click();
  // Another scenario is selected in the list: read and describe it.
  void List1_Click(int row);

  // Why the selected scenario cannot be played; nullopt when it can.
  const std::optional<std::string>& ScenarioProblem() const { return scenarioProblem_; }

 private:
  void ShowScenarioList();

  MainForm& form_;
  std::optional<std::string> scenarioProblem_ = std::string();
};

}  // namespace yuunagi
