#include "commands/FactionSelection.h"

#include <QLabel>
#include <QListWidget>

#include <string>

#include "core/MainForm.h"
#include "files/Text.h"
#include "files/TitleScreen.h"

namespace yuunagi {

FactionSelection::FactionSelection(MainForm& form) : form_(form) {
  QObject::connect(form.Command7, &QPushButton::clicked, &form, [this] { Command7_Click(); });
  for (int k = 0; k < static_cast<int>(form.Command2.size()); ++k) {
    QObject::connect(form.Command2[k], &QPushButton::clicked, &form, [this, k] { Command2_Click(k); });
    QObject::connect(form.Command2[k], &GraphicButton::Hovered, &form, [this, k] { Command2_MouseMove(k); });
  }
}

void FactionSelection::ResetPlayers() { form_.Game().ClearPlayers(); }

void FactionSelection::ShowFactionButtons() {
  for (int k = 0; k < kFactionCount; ++k) form_.HidePanel(form_.Command2[k]);
  for (const i16 owner : form_.Data().Scenario.StartOwner) {
    if (owner >= 0 && owner < kFactionCount) form_.Command2[owner]->show();
  }
  form_.FocusFirstButton(form_.Picture2);
}

void FactionSelection::Command7_Click() {
  if (form_.Command7->isHidden()) return;  // a hidden button never acts
  // A scenario that cannot be played is never started; the message line says why.
  if (const std::optional<std::string>& problem = form_.Title().ScenarioProblem()) {
    form_.SetMessage(*problem);
    return;
  }
  ResetPlayers();
  MainForm::SetCaption(form_.Label1[0], "<1P>選択");
  form_.Picture2->show();
  form_.HidePanel(form_.Command7);
  form_.HidePanel(form_.List1);
  ShowFactionButtons();
}

void FactionSelection::Command2_MouseMove(int index) {
  if (index == kFactionCount) {
    form_.SetMessage("ゲームを開始します。勢力を選んでいない場合は観戦モードとなります。");
    return;
  }
  const ScenarioRecord& scenario = form_.Data().Scenario;
  std::string hint = "～";
  hint += FactionNames[index];
  hint += "～ 難易度:";
  for (int i = 0; i < kDistrictCount; ++i) {
    if (scenario.StartOwner[i] == index) {
      hint += FitText(scenario.DifficultyText[i], 16);
      break;
    }
  }
  form_.SetMessage(hint);
}

void FactionSelection::Command2_Click(int index) {
  if (form_.Picture2->isHidden() || form_.Command2[index]->isHidden()) return;
  if (index == kFactionCount) {
    Confirm();
    return;
  }
  if (form_.Game().JoinFaction(index) == 0) return;
  form_.HidePanel(form_.Command2[index]);
  form_.FocusFirstButton(form_.Picture2);
  if (form_.Data().PlayerCount == form_.Data().FactionCount) {
    MainForm::SetCaption(form_.Label1[0], "");
    form_.RepaintNow();
    Confirm();
  } else {
    ShowNextPicker();
  }
}

void FactionSelection::ShowNextPicker() {
  std::string caption = "<";
  caption += std::to_string(form_.Data().PlayerCount + 1);
  caption += "P>選択";
  MainForm::SetCaption(form_.Label1[0], caption);
}

void FactionSelection::Confirm() {
  const bool yes = form_.AskYesNo("ゲームをはじめます。\rよろしいですか？");
  if (form_.Ended()) return;
  if (yes) {
    form_.HidePanel(form_.Picture2);
    form_.Game().StartNewGameFromScenario();
    return;
  }
  ResetPlayers();
  ShowNextPicker();
  ShowFactionButtons();
}

}  // namespace yuunagi
