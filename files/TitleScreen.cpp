#include "files/TitleScreen.h"

#include <QByteArray>
#include <QStringDecoder>

#include "core/Layout.h"
#include "core/MainForm.h"
#include "core/MessagePanel.h"
#include "core/PanelFocus.h"
#include "core/SpeedBar.h"
#include "files/Cp932.h"
#include "files/GameQuestions.h"
#include "files/Playability.h"
#include "files/SaveSlotPanel.h"
#include "files/SaveSlots.h"
#include "files/ScenarioFile.h"
#include "files/ScenarioPanel.h"
#include "files/Text.h"
#include "files/TitleButtons.h"
#include "media/MusicPlayer.h"

namespace yuunagi {

namespace {

// The name a scenario is listed and played under: its file name when that is
// UTF-8, otherwise the name as Windows wrote it, in code page 932 (a file
// copied from Windows keeps those bytes).
std::string ShownName(const std::string& fileName) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString decoded =
      utf8.decode(QByteArrayView(fileName.data(), static_cast<qsizetype>(fileName.size())));
  if (!utf8.hasError()) return fileName;
  std::string fromCp932 = Cp932ToUtf8(fileName);
  return fromCp932.empty() ? decoded.toStdString() : fromCp932;
}

}  // namespace

TitleScreen::TitleScreen(MainForm& form) : form_(form) {
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

void TitleScreen::ChooseStart(int startMode) {
  HidePanel(form_.TitleMenu());
  form_.SpeedPanel().hide();
  form_.Game().SetStartMode(static_cast<i16>(startMode));
  ShowSaveSlots(form_);
  form_.PlayMusic("設定");
}

void TitleScreen::CancelSlots() {
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
  const std::vector<std::string> names = ListScenarios(form_.ScenarioFolders());
  if (names.empty()) {
    form_.StopMusic();
    form_.ShowMessageBox("シナリオファイルがありません。");
    form_.EndProgram();
    return;
  }
  ScenarioPanel& list = form_.ScenarioList();
  list.Clear();
  for (const std::string& name : names) {
    list.Add(ToQString(ShownName(name)), QByteArray(name.data(), static_cast<qsizetype>(name.size())));
  }
  list.Show();
  form_.MessageLine().show();
  list.SelectFirst();
  HidePanel(form_.SlotPanel());
  list.FocusList();
}

void TitleScreen::DescribeScenario(const QByteArray& fileName, const QString& name) {
  std::string error;
  std::optional<ScenarioRecord> scenario =
      ReadScenario(form_.ScenarioFolders(),
                   std::string_view(fileName.constData(), static_cast<std::size_t>(fileName.size())), &error);
  if (!scenario) {
    scenario = ScenarioRecord{};
    scenarioProblem_ = error;
  } else {
    scenarioProblem_ = CheckScenario(*scenario);
  }
  form_.Game().ChooseScenario(*scenario, name.toStdString());
  form_.SetMessage(scenarioProblem_ ? *scenarioProblem_ : FitText(scenario->Description, 180));
}

}  // namespace yuunagi
