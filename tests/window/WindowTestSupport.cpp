#include "tests/window/WindowTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTest>
#include <QWindow>

#include <stdexcept>

#include "core/StartUp.h"
#include "files/SaveFile.h"
#include "files/ScenarioFile.h"

namespace yuunagi::test {

AppFolder::AppFolder() {
  if (!dir_.isValid()) throw std::runtime_error("no temporary folder");
  const QDir root(dir_.path());
  root.mkpath(QStringLiteral("Picture"));
  root.mkpath(QStringLiteral("Scenario"));
  root.mkpath(QStringLiteral("Save"));
  const QDir source(QStringLiteral(YUUNAGI_PICTURE_DIR));
  const QStringList pictures = {QStringLiteral("ユウナギ町.gif"), QStringLiteral("Etc.bmp"),
                                QStringLiteral("No0.bmp"),        QStringLiteral("No1.bmp"),
                                QStringLiteral("No2.bmp"),        QStringLiteral("No3.bmp"),
                                QStringLiteral("No4.bmp"),        QStringLiteral("No5.bmp")};
  for (const QString& name : pictures) {
    if (!QFile::copy(source.filePath(name), root.filePath(QStringLiteral("Picture/") + name))) {
      throw std::runtime_error("cannot copy the picture " + source.filePath(name).toStdString());
    }
  }
}

std::filesystem::path AppFolder::Path() const { return std::filesystem::path(dir_.path().toStdString()); }

void AppFolder::WriteScenario(const std::string& name, const ScenarioRecord& scenario) const {
  std::string error;
  if (!WriteScenarioFile(Scenarios() / (name + ".dat"), scenario, &error)) throw std::runtime_error(error);
}

void AppFolder::WriteSave(int slot, const SaveRecord& save) const {
  SaveRecord copy = save;
  std::string error;
  if (!AccessSaveSlot(Saves(), slot, kWriteSlot, copy, &error)) throw std::runtime_error(error);
}

ScenarioRecord SixFactionScenario() {
  ScenarioRecord s;
  s.StartTurn = 1;
  s.Music = "決戦の町";
  s.Description = "六つの勢力が町を争う。";
  s.DifficultyText = {"ふつう", "やさしい", "むずかしい", "ふつう", "やさしい", "むずかしい"};
  s.StartOwner = {0, 1, 2, 3, 4, 5};
  s.StartMoney = {100, 100, 100, 100, 100, 100};
  s.StartSoldiers = {100, 100, 100, 100, 100, 100};
  s.StartStrength = {10, 10, 10, 10, 10, 10};
  s.StartWeapon = {1, 1, 1, 1, 1, 1};
  s.StartDevelopment = {10, 10, 10, 10, 10, 10};
  return s;
}

ScenarioRecord QuickScenario() {
  ScenarioRecord s = SixFactionScenario();
  s.Description = "ヒノデが町をほぼ手中にしている。";
  s.StartOwner = {0, 0, 0, 0, 0, 1};
  s.StartSoldiers = {500, 500, 500, 500, 500, 300};
  s.StartStrength = {30, 30, 30, 30, 30, 5};
  return s;
}

StartedWindow StartWindow(const AppFolder& folder, std::uint64_t seed) {
  return StartWindow(folder, std::make_unique<SeededRandom>(seed));
}

StartedWindow StartWindow(const AppFolder& folder, std::unique_ptr<RandomSource> random) {
  StartedWindow started;
  WindowOptions options;
  options.appFolder = folder.Path();
  options.random = std::move(random);
  std::shared_ptr<int> status = started.exitStatus;
  options.exitProcess = [status](int code) { *status = code; };
  // The small SoundFont, played into nothing: the songs are asked for and
  // tracked as in the game, without an audio device.
  options.music.soundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
  options.music.liveOutput = false;
  started.form = StartUp(std::move(options));
  return started;
}

MessageBoxAnswerer::MessageBoxAnswerer(QStringList answers) : answers_(std::move(answers)) {
  connect(&timer_, &QTimer::timeout, this, &MessageBoxAnswerer::Poll);
  timer_.start(10);
}

void MessageBoxAnswerer::Poll() {
  auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
  if (box == nullptr || !box->isVisible()) return;
  captions << box->windowTitle();
  texts << box->text();
  formats << box->textFormat();
  if (onBox) onBox();
  const QString answer = answers_.isEmpty() ? QString() : answers_.takeFirst();
  QAbstractButton* button = nullptr;
  if (answer == QLatin1String("No")) button = box->button(QMessageBox::No);
  if (button == nullptr && answer != QLatin1String("OK")) button = box->button(QMessageBox::Yes);
  if (button == nullptr) button = box->button(QMessageBox::Ok);
  button->click();
}

void ContinueFromSlot(MainForm& form, int slot) {
  Click(form.Command1[1]);
  Click(form.Option1[slot]);
  Click(form.Command8);
}

StartedWindow StartSavedGame(const AppFolder& folder, const SaveRecord& save,
                             std::unique_ptr<RandomSource> random, int slot) {
  folder.WriteSave(slot, save);
  StartedWindow started = StartWindow(folder, std::move(random));
  if (!started.form) throw std::runtime_error("the window did not start");
  ContinueFromSlot(*started.form, slot);
  return started;
}

void Click(QWidget* widget) {
  if (widget == nullptr) throw std::runtime_error("no such control");
  QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

void ClickThroughWindow(QWidget* widget, Qt::MouseButton button, QPoint pos) {
  if (widget == nullptr) throw std::runtime_error("no such control");
  QWindow* window = widget->window()->windowHandle();
  if (window == nullptr) throw std::runtime_error("the window is not shown");
  if (pos.isNull()) pos = widget->rect().center();
  // The pointer goes there first, as the player's does.
  QTest::mouseMove(widget, pos);
  QTest::mouseClick(window, button, Qt::NoModifier, window->mapFromGlobal(widget->mapToGlobal(pos)));
}

void ClickBackground(MainForm& form, Qt::MouseButton button) {
  // Left of the status panels, above the message panel.
  const QPoint spot(8, 300);
  if (form.childAt(spot) != nullptr) throw std::runtime_error("a control covers the background spot");
  ClickThroughWindow(&form, button, spot);
}

RunningGame::RunningGame(const SaveRecord& save, std::initializer_list<double> draws, int slot) {
  auto random = std::make_unique<ScriptedRandom>(draws);
  random_ = random.get();
  window_ = StartSavedGame(folder_, save, std::move(random), slot);
}

QStringList VisibleControls(MainForm& form) {
  QStringList shown;
  for (QObject* child : form.children()) {
    auto* widget = qobject_cast<QWidget*>(child);
    if (widget != nullptr && !widget->isWindow() && !widget->isHidden()) shown << widget->objectName();
  }
  shown.sort();
  return shown;
}

}  // namespace yuunagi::test
