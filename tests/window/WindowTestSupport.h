// What the window tests share: an application folder of their own (copies of
// the real pictures, scenario and save files written for the test), the real
// window started in it, and answering the modal message boxes it shows.
#pragma once

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QObject>
#include <QScrollBar>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "core/MainForm.h"
#include "files/Records.h"
#include "media/MusicPlayer.h"
#include "tests/support/ScriptedRandom.h"

class QAbstractButton;
class QWidget;

namespace yuunagi::test {

// A temporary application folder: Picture/ holds copies of the game's
// pictures, Scenario/ and Save/ start empty.
class AppFolder {
 public:
  AppFolder();
  std::filesystem::path Path() const;
  std::filesystem::path Scenarios() const { return Path() / "Scenario"; }
  std::filesystem::path Saves() const { return Path() / "Save"; }
  std::filesystem::path Pictures() const { return Path() / "Picture"; }

  void WriteScenario(const std::string& name, const ScenarioRecord& scenario) const;
  void WriteSave(int slot, const SaveRecord& save) const;

 private:
  QTemporaryDir dir_;
};

// A playable scenario: district i held by faction i, modest numbers.
ScenarioRecord SixFactionScenario();
// A short spectator game: two factions, one of them nearly beaten.
ScenarioRecord QuickScenario();

// The real window, started through StartUp in `folder` with a seeded random
// source. The exit status it asks for lands in `exitStatus` (-1 until then).
struct StartedWindow {
  std::unique_ptr<MainForm> form;
  std::shared_ptr<int> exitStatus = std::make_shared<int>(-1);
};
StartedWindow StartWindow(const AppFolder& folder, std::uint64_t seed = 12345);
// The same with the test's own random source (a ScriptedRandom, say).
StartedWindow StartWindow(const AppFolder& folder, std::unique_ptr<RandomSource> random);

// From the title screen: つづきから, slot `slot`, 決定 — the saved game starts.
void ContinueFromSlot(MainForm& form, int slot);
// Writes `save` into `slot`, starts the window and continues the game from it.
StartedWindow StartSavedGame(const AppFolder& folder, const SaveRecord& save,
                             std::unique_ptr<RandomSource> random, int slot = 0);

// Answers the modal message boxes as they come, from a timer: records each
// box's caption and text, and presses the next button of the script ("Yes",
// "No", "OK"); when the script runs out it presses OK (or Yes).
class MessageBoxAnswerer : public QObject {
  Q_OBJECT
 public:
  explicit MessageBoxAnswerer(QStringList answers = {});
  QStringList texts;
  QStringList captions;
  // How each box reads its text: markup or plain characters.
  QList<Qt::TextFormat> formats;
  // Called when a box is found, before it is answered (to look at the window then).
  std::function<void()> onBox;

 private:
  void Poll();
  QTimer timer_;
  QStringList answers_;
};

// Finds a control of the window by its designed name, e.g. "Command2(3)".
template <typename T = QWidget>
T* Control(MainForm& form, const QString& name) {
  return form.findChild<T*>(name);
}

// A left click in the middle of a widget, as the player makes it.
void Click(QWidget* widget);

// A click with `button` at `pos` of `widget` (its middle when null), sent
// through the window as the screen sends it: it reaches whatever control
// lies at that point, and travels on to the controls behind as Qt decides.
void ClickThroughWindow(QWidget* widget, Qt::MouseButton button, QPoint pos = QPoint());

// A click with `button` on the window background, where no control lies.
void ClickBackground(MainForm& form, Qt::MouseButton button = Qt::LeftButton);

// A saved game running on the real window, its chances scripted: the save
// is written into `slot` of a fresh application folder and continued.
class RunningGame {
 public:
  explicit RunningGame(const SaveRecord& save, std::initializer_list<double> draws = {}, int slot = 0);
  MainForm& form() { return *window_.form; }
  GameData& data() { return window_.form->Data(); }
  ScriptedRandom& random() { return *random_; }
  const AppFolder& folder() const { return folder_; }
  int exitStatus() const { return *window_.exitStatus; }

 private:
  AppFolder folder_;
  ScriptedRandom* random_ = nullptr;
  StartedWindow window_;
};

// The top-level controls of the window that are shown.
QStringList VisibleControls(MainForm& form);

}  // namespace yuunagi::test
