// The game logic of the title and file-selection screens: the title
// buttons, the save-slot panel and, for a new game, the scenario list with
// its descriptions.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <string>

namespace yuunagi {

class MainForm;

class TitleScreen {
 public:
  explicit TitleScreen(MainForm& form);

  // Why the selected scenario cannot be played; nullopt when it can.
  const std::optional<std::string>& ScenarioProblem() const { return scenarioProblem_; }

 private:
  // はじめから (0) or つづきから (1).
  void ChooseStart(int startMode);
  // 決定 of the slot panel.
  void ConfirmSlot();
  // キャンセル of the slot panel: back to the title.
  void CancelSlots();
  void ShowScenarioList();
  // Another scenario is selected in the list: read and describe it.
  void DescribeScenario(const QByteArray& fileName, const QString& name);

  MainForm& form_;
  std::optional<std::string> scenarioProblem_ = std::string();
};

}  // namespace yuunagi
