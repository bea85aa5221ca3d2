#include "commands/FactionSelection.h"

#include <string>

#include "commands/FactionPicker.h"
#include "core/MainForm.h"
#include "core/PanelFocus.h"
#include "files/ScenarioPanel.h"
#include "files/Text.h"
#include "files/TitleScreen.h"

namespace yuunagi {

FactionSelection::FactionSelection(MainForm& form, const TitleScreen& title) : form_(form), title_(title) {
  QObject::connect(&form.ScenarioList(), &ScenarioPanel::scenarioChosen, &form, [this] { Open(); });
  FactionPicker& picker = form.Picker();
  QObject::connect(&picker, &FactionPicker::factionChosen, &form, [this](int faction) { Pick(faction); });
  QObject::connect(&picker, &FactionPicker::confirmed, &form, [this] { Confirm(); });
  QObject::connect(&picker, &FactionPicker::factionPointed, &form,
                   [this](int faction) { ShowHint(faction); });
  QObject::connect(&picker, &FactionPicker::confirmPointed, &form, [this] {
    form_.SetMessage("ゲームを開始します。勢力を選んでいない場合は観戦モードとなります。");
  });
}

void FactionSelection::ResetPlayers() { form_.Game().ClearPlayers(); }

void FactionSelection::Open() {
  // A scenario that cannot be played is never started; the message line says why.
  if (const std::optional<std::string>& problem = title_.ScenarioProblem()) {
    form_.SetMessage(*problem);
    return;
  }
  ResetPlayers();
  form_.Picker().SetHeading("<1P>選択");
  form_.Picker().show();
  form_.ScenarioList().Hide();
  form_.Picker().OfferFactions(form_.Data().Scenario.StartOwner);
}

void FactionSelection::ShowHint(int faction) {
  const ScenarioRecord& scenario = form_.Data().Scenario;
  std::string hint = "～";
  hint += FactionNames[faction];
  hint += "～ 難易度:";
  for (int i = 0; i < kDistrictCount; ++i) {
    if (scenario.StartOwner[i] == faction) {
      hint += FitText(scenario.DifficultyText[i], 16);
      break;
    }
  }
  form_.SetMessage(hint);
}

void FactionSelection::Pick(int faction) {
  if (form_.Game().JoinFaction(faction) == 0) return;
  form_.Picker().TakeFaction(faction);
  if (form_.Data().PlayerCount == form_.Data().FactionCount) {
    form_.Picker().SetHeading("");
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
  form_.Picker().SetHeading(caption);
}

void FactionSelection::Confirm() {
  const bool yes = form_.AskYesNo("ゲームをはじめます。\rよろしいですか？");
  if (form_.Ended()) return;
  if (yes) {
    HidePanel(form_.Picker());
    form_.Game().StartNewGameFromScenario();
    return;
  }
  ResetPlayers();
  ShowNextPicker();
  form_.Picker().OfferFactions(form_.Data().Scenario.StartOwner);
}

}  // namespace yuunagi
