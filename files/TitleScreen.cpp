#include "files/TitleScreen.h"

#include <QByteArray>
#include <QListWidget>
#include <QStringDecoder>

#include "core/MainForm.h"
#include "files/Cp932.h"
#include "files/Playability.h"
#include "files/SaveSlots.h"
#include "files/ScenarioFile.h"
#include "files/Text.h"
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

// Each entry of the list keeps the bytes of its file's name here.
constexpr int kFileNameRole = Qt::UserRole;

}  // namespace

TitleScreen::TitleScreen(MainForm& form) : form_(form) {
  for (int k = 0; k < static_cast<int>(form.Command1.size()); ++k) {
    QObject::connect(form.Command1[k], &QPushButton::clicked, &form, [this, k] { Command1_Click(k); });
  }
  for (int k = 0; k < static_cast<int>(form.Option1.size()); ++k) {
    QObject::connect(form.Option1[k], &QRadioButton::clicked, &form, [this, k] { Option1_Click(k); });
  }
  QObject::connect(form.Command8, &QPushButton::clicked, &form, [this] { Command8_Click(); });
  QObject::connect(form.Command9, &QPushButton::clicked, &form, [this] { Command9_Click(); });
  QObject::connect(form.List1, &QListWidget::currentRowChanged, &form, [this](int row) { List1_Click(row); });
}

void TitleScreen::Command1_Click(int index) {
  if (form_.Picture1->isHidden()) return;  // a hidden panel never acts
  form_.HidePanel(form_.Picture1);
  form_.Picture7->hide();
  form_.Game().SetStartMode(static_cast<i16>(index));
  ShowSaveSlots(form_);
  form_.PlayMusic("設定");
}

void TitleScreen::Option1_Click(int index) { form_.Game().SetSaveSlot(static_cast<i16>(index)); }

void TitleScreen::Command9_Click() {
  if (form_.Picture8->isHidden()) return;
  form_.HidePanel(form_.Picture8);
  form_.Picture1->show();
  form_.Picture7->show();
  form_.PlayMusic("オープニング");
}

void TitleScreen::Command8_Click() {
  if (form_.Picture8->isHidden()) return;
  if (form_.Data().StartMode == 0) {
    ShowScenarioList();
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
  form_.List1->clear();
  for (const std::string& name : names) {
    auto* item = new QListWidgetItem(ToQString(ShownName(name)));
    item->setData(kFileNameRole, QByteArray(name.data(), static_cast<qsizetype>(name.size())));
    form_.List1->addItem(item);
  }
  form_.Command7->show();
  form_.List1->show();
  form_.Picture11->show();
  form_.List1->setCurrentRow(0);
  form_.HidePanel(form_.Picture8);
  form_.List1->setFocus(Qt::OtherFocusReason);
}

void TitleScreen::List1_Click(int row) {
  if (row < 0) return;
  const QListWidgetItem* item = form_.List1->item(row);
  const QByteArray fileName = item->data(kFileNameRole).toByteArray();
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
  form_.Game().ChooseScenario(*scenario, item->text().toStdString());
  form_.SetMessage(scenarioProblem_ ? *scenarioProblem_ : FitText(scenario->Description, 180));
}

}  // namespace yuunagi
