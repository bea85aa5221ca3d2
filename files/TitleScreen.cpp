#include "files/TitleScreen.h"

#include <QByteArray>

#include "core/Layout.h"
#include "core/MainForm.h"
#include "core/MessagePanel.h"
#include "core/PanelFocus.h"
#include "core/SpeedBar.h"
#include "files/GameQuestions.h"
#include "files/Playability.h"
#include "files/SaveSlotPanel.h"
#include "files/SaveSlots.h"
#include "files/ScenarioFile.h"
#include "files/ScenarioListing.h"
#include "files/ScenarioPanel.h"
#include "files/Text.h"
#include "files/TitleButtons.h"
#include "media/MusicPlayer.h"

namespace yuunagi {

TitleScreen::TitleScreen(MainForm& form) : form_(form), listing_(new ScenarioListing(&form)) {
  QObject::connect(&form.TitleMenu(), &TitleButtons::startChosen, &form,
                   [this](int startMode) { ChooseStart(startMode); });
  SaveSlotPanel& slotPanel = form.SlotPanel();
  QObject::connect(&slotPanel, &SaveSlotPanel::slotChosen, &form,
                   [this](int slot) { form_.Game().SetSaveSlot(static_cast<i16>(slot)); });
  QObject::connect(&slotPanel, &SaveSlotPanel::confirmed, &form, [this] { ConfirmSlot(); });
  QObject::connect(&slotPanel, &SaveSlotPanel::cancelled, &form, [this] { CancelSlots(); });
  QObject::connect(
      &form.ScenarioList(), &ScenarioPanel::scenarioSelected, &form,
      [this](const QByteArray& fileName, const QString& name) { DescribeScenario(fileName, name); });
}

TitleScreen::~TitleScreen() { listing_->Stop(); }

void TitleScreen::ChooseStart(int startMode) {
  HidePanel(form_.TitleMenu());
  form_.SpeedPanel().hide();
  form_.Game().SetStartMode(static_cast<i16>(startMode));
  ShowSaveSlots(form_);
  form_.PlayMusic("設定");
}

void TitleScreen::CancelSlots() {
  listing_->Stop();
  HidePanel(form_.SlotPanel());
  form_.TitleMenu().show();
  form_.SpeedPanel().show();
  form_.PlayMusic("オープニング");
}

void TitleScreen::ConfirmSlot() {
  if (form_.Data().StartMode == 0) {
    if (ConfirmNewGameInSlot(form_)) ShowScenarioList();
  } else {
    ContinueSavedGame(form_);
  }
}

void TitleScreen::ShowScenarioList() {
  if (listing_->Busy()) return;  // 決定 again while the list is being made
  form_.ScenarioList().Clear();
  listing_->Start(
      form_.ScenarioFolders(), [this](const ScenarioListing::Batch& batch) { AddScenarios(batch); },
      [this](std::size_t count) {
        if (count == 0) EndWithoutScenarios();
      });
}

void TitleScreen::AddScenarios(const ScenarioListing::Batch& batch) {
  if (form_.Ended()) {  // the window was closed meanwhile
    listing_->Stop();
    return;
  }
  ScenarioPanel& list = form_.ScenarioList();
  const bool first = list.Count() == 0;
  for (const ScenarioListing::Entry& entry : batch) list.Add(entry.name, entry.fileName);
  if (!first) return;
  // The first entries are there: the list opens on the first scenario.
  list.Show();
  form_.MessageLine().show();
  list.SelectFirst();
  HidePanel(form_.SlotPanel());
  list.FocusList();
}

void TitleScreen::EndWithoutScenarios() {
  form_.StopMusic();
  form_.ShowMessageBox("シナリオファイルがありません。");
  form_.EndProgram();
}

void TitleScreen::DescribeScenario(const QByteArray& fileName, const QString& name) {
  std::string error, sizeNote;
  std::optional<ScenarioRecord> scenario = ReadScenario(
      form_.ScenarioFolders(),
      std::string_view(fileName.constData(), static_cast<std::size_t>(fileName.size())), &error, &sizeNote);
  if (!scenario) {
    scenario = ScenarioRecord{};
    scenarioProblem_ = error;
  } else {
    scenarioProblem_ = CheckScenario(*scenario);
  }
  form_.Game().ChooseScenario(*scenario, name.toStdString());
  const std::string description = scenarioProblem_ ? *scenarioProblem_ : FitText(scenario->Description, 180);
  // A file longer than a scenario says so first, whatever it describes.
  form_.SetMessage(sizeNote.empty() ? description : sizeNote + "\n" + description);
}

}  // namespace yuunagi
