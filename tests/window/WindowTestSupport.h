// The window tests' one fixture: the real window, started through StartUp in
// an application folder of its own, its chances scripted, its message boxes
// answered the moment they show, driven by scripts of steps joined by "; ":
//   NAME                  a left click in the middle of the control of that name
//   hover NAME            the pointer comes over it; hidden NAME: the button's click, even hidden
//   left|right|middle X   that button through the window, on control X or on "background"
//   row N, type TEXT, key Return|Escape, scroll N (the speed bar), close
//   press KEY             a key (Return, Space, 3, Ctrl+=, ...) to the control with the focus
//   answer Yes|No|Cancel|Close  how the next message box is answered (else Yes or OK), or the window closed;
//   answer Key            by keys once it was seen: "keyed" says whether it was still "held" then
//   queue Return          a Return waits in the event queue for whatever takes keys
//   draw V V..., seed N   scripted chances, or a seeded source from now on
//   speed MS              the engine's pause after a computer move
//   engine collect|continue|next, computer collect: asked of the engine directly
//   remove PATH, block PATH: in the application folder, removed or made a plain file
//   snap, then same       nothing shown or held has changed since (but "refusal")
//   KEY=VALUE, KEY~PART   a fact of Facts() equals, or contains, the value (recordlines: the war record's)
//   wait KEY=VALUE        the event loop runs until it does (60 s at most)
//   MACRO                 a step of Window::macros: the script it stands for
// After every step the status panels must show the board the game holds.
#pragma once

#include <QMap>
#include <QObject>
#include <QTemporaryDir>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "core/MainForm.h"
#include "tests/support/ScriptedRandom.h"

namespace yuunagi::test {

// A temporary application folder: copies of the game's pictures in Picture/,
// Scenario/ and Save/ empty.
class AppFolder {
 public:
  AppFolder();
  std::filesystem::path Path() const { return dir_.path().toStdString(); }
  std::filesystem::path operator/(const char* sub) const { return Path() / sub; }
  void WriteScenario(const std::string& name, const ScenarioRecord& scenario) const;
  void WriteSave(int slot, const SaveRecord& save) const;

 private:
  QTemporaryDir dir_;
};

// Turn 3 of 港町: ヒノデ (1P) holds districts 0, 1 and 3, ソラノ (2P) 2, 4 and 5; district 0 moves.
SaveRecord HotSeatSave();

// Scripted chances, or seeded ones once the script says so; counts the draws.
struct TestRandom : RandomSource {
  double Next() override { return ++draws, seeded ? seeded->Next() : scripted.Next(); }
  ScriptedRandom scripted;
  std::optional<SeededRandom> seeded;
  int draws = 0;
};

class Window : public QObject {
 public:
  // `files` lays out the application folder before start-up.
  // `keepSettings`: start with the player's settings the last window kept.
  // `startAnswers`: how the boxes of start-up are answered.
  explicit Window(const std::function<void(AppFolder&)>& files = {}, bool keepSettings = false,
                  const QStringList& startAnswers = {});
  ~Window() override;
  // Runs `script`; says what went wrong at the first failing step, empty when nothing did.
  QString Run(const QString& script);
  QMap<QString, QString> Facts() const;
  static inline QMap<QString, QString> macros;

  AppFolder folder;
  TestRandom* random = nullptr;
  std::unique_ptr<MainForm> form;  // null when start-up failed
  int exitStatus = -1;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QString Step(const QString& step);
  QString GameStep(const QString& verb, const QString& arg);
  QString InputStep(const QString& verb, const QString& arg);
  QString CompareStep(bool take);
  QString MouseStep(const QString& verb, const QString& arg);
  void BoardFacts(QMap<QString, QString>& f) const;

  QStringList answers_, boxes_, boxSongs_, boxButtons_;
  QString keyed_;
  int oddBoxes_ = 0, refusal_ = -1;
  QMap<QString, QString> painted_, paintedAtBox_;  // what each label showed on the screen, by name
  QMap<QString, QString> snapshot_;
};

// Runs `script` on `window` in a test function, which stops at the first failing step.
#define RUN(window, script)                           \
  do {                                                \
    const QString failure = (window).Run(script);     \
    QVERIFY2(failure.isEmpty(), qPrintable(failure)); \
  } while (false)

}  // namespace yuunagi::test
