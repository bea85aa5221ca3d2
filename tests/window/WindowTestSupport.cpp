#include "tests/window/WindowTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QRegularExpression>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <stdexcept>

#include "commands/ActionPanel.h"
#include "commands/AmountPanel.h"
#include "commands/FactionPicker.h"
#include "commands/WeaponPanel.h"
#include "core/BoxKeyGuard.h"
#include "core/MessagePanel.h"
#include "core/SpeedBar.h"
#include "core/StartUp.h"
#include "core/StatusPanel.h"
#include "core/TurnPanel.h"
#include "core/WarRecordWindow.h"
#include "files/Autosave.h"
#include "files/SaveFile.h"
#include "files/SaveSlotPanel.h"
#include "files/ScenarioFile.h"
#include "files/ScenarioListing.h"
#include "files/ScenarioPanel.h"
#include "media/MusicPlayer.h"
#include "tests/support/EngineTestAccess.h"

namespace yuunagi::test {

AppFolder::AppFolder() {
  const QDir root(dir_.path()), source(YUUNAGI_PICTURE_DIR);
  for (const char* sub : {"Picture", "Scenario", "Save"}) root.mkpath(sub);
  for (const QString& name : source.entryList({"*.bmp", "*.gif"}, QDir::Files)) {
    if (!QFile::copy(source.filePath(name), root.filePath("Picture/" + name)))
      throw std::runtime_error("cannot copy the pictures");
  }
}

void AppFolder::WriteScenario(const std::string& name, const ScenarioRecord& scenario) const {
  std::string error;
  if (!WriteScenarioFile(Path() / "Scenario" / (name + ".dat"), scenario, &error))
    throw std::runtime_error(error);
}

void AppFolder::WriteSave(int slot, const SaveRecord& save) const {
  SaveRecord copy = save;
  std::string error;
  if (!AccessSaveSlot(Path() / "Save", slot, kWriteSlot, copy, &error)) throw std::runtime_error(error);
}

SaveRecord HotSeatSave() {
  SaveRecord s;
  s.TurnNumber = 3;
  s.ScenarioName = "港町";
  s.MusicName = "港町の攻防";
  s.Owner = {0, 0, 1, 0, 1, 1};
  s.Money = {100, 100, 100, 100, 100, 100};
  s.Development = {20, 10, 10, 10, 10, 10};
  s.Soldiers = {50, 50, 50, 50, 50, 50};
  s.Strength = {15, 10, 10, 10, 10, 10};
  s.Weapon = {1, 1, 1, 1, 1, 1};
  s.PlayerOfFaction = {1, 2, 0, 0, 0, 0};
  s.PlayerCount = 2;
  return s;
}

Window::Window(const std::function<void(AppFolder&)>& files, bool keepSettings,
               const QStringList& startAnswers)
    : answers_(startAnswers) {
  qApp->installEventFilter(this);
  // Every window starts at the designed size with music, unless it is the
  // restart that must find what the last one kept.
  if (!keepSettings) QSettings(QStringLiteral("yuunagi"), QStringLiteral("yuunagi")).clear();
  if (files) files(folder);
  auto source = std::make_unique<TestRandom>();
  random = source.get();
  WindowOptions options;
  options.appFolder = folder.Path();
  options.random = std::move(source);
  options.exitProcess = [this](int status) { exitStatus = status; };
  // No SoundFont and no sound: the songs are asked for and tracked as in the game, heard nowhere.
  options.music.soundFont = (folder / "none.sf2").string();
  options.music.liveOutput = false;
  form = StartUp(std::move(options));
  if (!form) random = nullptr;  // gone with the window
  if (form && !QTest::qWaitForWindowExposed(form.get())) throw std::runtime_error("the window never showed");
  QTest::qWait(0);  // what start-up left to the event loop (the autosaved game's question)
}

Window::~Window() {
  qApp->removeEventFilter(this);
  form.reset();
  std::error_code error;  // also the files QTemporaryDir cannot name (code page 932 names)
  std::filesystem::remove_all(folder.Path(), error);
}

bool Window::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Paint && watched->isWidgetType()) {
    // A widget painted: its labels are painted over it next, those of no size not at all.
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->window() != form.get()) return false;  // another window's
    QList<QLabel*> labels = widget->findChildren<QLabel*>();
    if (auto* label = qobject_cast<QLabel*>(widget)) labels << label;
    for (QLabel* label : labels) {
      painted_[label->objectName()] =
          label->isVisible() && !label->size().isEmpty() ? label->text() : QString();
    }
    return false;
  }
  auto* box = event->type() == QEvent::Show ? qobject_cast<QMessageBox*>(watched) : nullptr;
  if (box == nullptr || (form && box->parentWidget() != form.get())) return false;
  // What the player sees at the moment the box appears.
  boxes_ << box->text();
  if (box->textFormat() != Qt::PlainText || box->windowTitle() != ToQString(GameTitle)) ++oddBoxes_;
  if (form) boxSongs_ << QString::fromStdString(form->Music().CurrentSong());
  paintedAtBox_ = painted_;
  const QString answer = answers_.isEmpty() ? QString() : answers_.takeFirst();
  boxButtons_ = QStringList();
  for (QAbstractButton* b : box->buttons()) boxButtons_ << b->text();
  if (answer == "Key") {  // answered by keys alone: a held key's repeat first, then a fresh Return
    QPointer<QMessageBox> shown(box);
    QTimer::singleShot(kBoxKeyDelayMs + 100, form.get(), [this, shown] {
      QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r", true);
      if (shown) QApplication::sendEvent(shown, &repeat);
      keyed_ = shown && shown->isVisible() ? "held" : "lost";
      if (shown) QTest::keyClick(shown, Qt::Key_Return);
    });
    return false;
  }
  if (answer == "Close") {  // the player closes the game window instead
    QTimer::singleShot(0, form.get(), &QWidget::close);
    return false;
  }
  const auto kind = answer == "No"       ? QMessageBox::No
                    : answer == "Cancel" ? QMessageBox::Cancel
                                         : QMessageBox::Yes;
  QAbstractButton* button = box->button(kind);
  if (button == nullptr) button = box->button(QMessageBox::Ok);
  QTimer::singleShot(0, button, &QAbstractButton::click);
  return false;
}

namespace {

QString Number(int n) { return QString::number(n); }

// The panels of the game screen, shown together as "game".
const QStringList kGameScreen = {"messagePanel", "statusPanel0", "statusPanel1", "statusPanel2",
                                 "statusPanel3", "statusPanel4", "statusPanel5", "turnPanel"};

}  // namespace

// Facts: exit, boxes, boxsongs (the song playing as each box appeared),
// box.NAME (what label NAME showed on the screen when the last box appeared),
// oddboxes (not plain text or not captioned with the title), saves, kept (the
// games in the autosave and the slots: file:name Turn n@mover); with a
// window also: shown (top-level controls; "game" first for the game screen),
// caption, message, messagesize, song, state, slot, slots (* marks the
// checked one), list (* the current row), scenario, factions and weapons
// (the buttons offered), heading, menu, players (faction by faction / count),
// turn, strategy, mover, highlight, owners, panel0..5 (what the panel shows; panels: all six)
// and held0..5 (what the game holds), moves, draws, pending, pause, text,
// refusal, richlabels.
QMap<QString, QString> Window::Facts() const {
  QMap<QString, QString> f = {{"exit", Number(exitStatus)},
                              {"boxes", boxes_.join('|')},
                              {"boxsongs", boxSongs_.join('|')},
                              {"oddboxes", Number(oddBoxes_)}};
  for (auto it = paintedAtBox_.cbegin(); it != paintedAtBox_.cend(); ++it) f["box." + it.key()] = it.value();
  f["saves"] = QDir(QString::fromStdString((folder / "Save").string()))
                   .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name)
                   .join(' ');
  QStringList kept;
  for (const char* name : {"Autosave.sav", "Save0.sav", "Save1.sav", "Save2.sav", "Save3.sav"}) {
    if (const std::optional<SaveRecord> s = ReadSaveFile(folder / "Save" / name))
      kept << QString("%1:%2@%3").arg(name, ToQString(SavedGameName(*s))).arg(s->CurrentDistrict);
  }
  f["kept"] = kept.join(' ');
  if (!form) return f;
  BoardFacts(f);
  MainForm& w = *form;
  QStringList shown;
  for (QWidget* widget : w.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (!widget->isWindow() && !widget->isHidden()) shown << widget->objectName();
  }
  shown.sort();
  if (std::all_of(kGameScreen.begin(), kGameScreen.end(),
                  [&](const QString& n) { return shown.contains(n); })) {
    for (const QString& name : kGameScreen) shown.removeOne(name);
    shown.prepend("game");
  }
  int richLabels = 0;
  for (const QLabel* label : w.findChildren<QLabel*>()) richLabels += label->textFormat() != Qt::PlainText;
  f["shown"] = shown.join(' ');
  f["caption"] = w.windowTitle();
  f["message"] = w.MessageLine().Text();
  f["messagesize"] = Number(f["message"].size());
  f["song"] = QString::fromStdString(form->Music().CurrentSong());
  f["focus"] = QApplication::focusWidget() != nullptr ? QApplication::focusWidget()->objectName() : QString();
  f["size"] = QString("%1x%2").arg(w.width()).arg(w.height());
  f["cue"] = Number(w.MessageLine().WaitCueShown());
  f["music"] = Number(w.MusicOn());
  f["record"] = Number(w.RecordWindow().isVisible());
  for (std::size_t i = 0; i < w.RecordWindow().Record().Size(); ++i)
    f["recordlines"] += ToQString(RecordLine(w.RecordWindow().Record().Entry(i))) + "|";
  f["strong"] = Number(w.StrongComputer());
  f["boxbuttons"] = boxButtons_.join(' ');
  f["keyed"] = keyed_;
  f["slots"] = w.SlotPanel().Shown();
  f["list"] = w.ScenarioList().Shown();
  for (int k = 0; k < kFactionCount; ++k) f["factions"] += w.Picker().Offers(k) ? Number(k) : "";
  for (int k = 0; k <= kWeaponLevels; ++k) f["weapons"] += w.WeaponMenuPanel().Offers(k) ? Number(k) : "";
  f["heading"] = w.Picker().Heading();
  f["menu"] = w.ActionMenuPanel().Heading();
  f["turn"] = w.Turn().TurnText();
  f["strategy"] = w.Turn().StrategyText();
  f["draws"] = Number(random->draws);
  f["pending"] = Number(w.MovePending());
  f["pause"] = Number(w.PauseMilliseconds());
  f["text"] = w.AmountEntry().Text();
  f["refusal"] = Number(refusal_);
  f["richlabels"] = Number(richLabels);
  return f;
}

// The facts of the game and its board: what the game holds, what the panels show.
void Window::BoardFacts(QMap<QString, QString>& f) const {
  MainForm& w = *form;
  const GameData& data = w.Data();
  QStringList players;
  for (int i = 0; i < kDistrictCount; ++i) {
    const DistrictRecord& d = data.Districts[i];
    players << Number(data.PlayerOfFaction[i]);
    f["owners"] += Number(d.Owner);
    if (w.Status(i).OwnerHighlighted()) f["highlight"] += Number(i);
    const QString panel = w.Status(i).Shown();
    f[QString("panel%1").arg(i)] = panel;
    f["panels"] += panel + "|";
    f[QString("held%1").arg(i)] =
        ToQString(FactionNames[d.Owner]) +
        QString::asprintf(" %d %d %d %d %d", d.Money, d.Soldiers, d.Strength, d.Weapon, d.Development);
  }
  f["state"] = Number(static_cast<int>(data.GameState));
  f["slot"] = Number(data.SaveSlot);
  f["scenario"] = QString::fromStdString(data.ScenarioName);
  f["players"] = players.join(',') + "/" + Number(data.PlayerCount);
  f["mover"] = Number(data.CurrentDistrict);
  f["moves"] = Number(static_cast<int>(form->Game().MoveCount()));
}

QString Window::Run(const QString& script) {
  for (const QString& step : script.split("; ")) {
    const QString failure = macros.contains(step) ? Run(macros[step]) : Step(step);
    if (!failure.isEmpty()) return "step \"" + step + "\": " + failure;
    // A scenario list being made is waited for, as a player would.
    const auto* listing = form ? form->findChild<ScenarioListing*>() : nullptr;
    if (listing && !QTest::qWaitFor([&] { return !listing->Busy(); }, 60000))
      return "the list never finished";
    // Whatever happens, the status panels show the board as the game holds it.
    const QMap<QString, QString> f = Facts();
    for (int i = 0; form && form->Data().GameState != Phase::NotStarted && i < kDistrictCount; ++i) {
      const QString panel = f[QString("panel%1").arg(i)], held = f[QString("held%1").arg(i)];
      if (panel != held)
        return QString("after \"%1\" panel %2 shows %3, not %4").arg(step).arg(i).arg(panel, held);
    }
  }
  return {};
}

QString Window::Step(const QString& step) {
  static const QRegularExpression check(
      "^([\\w.()]+)([=~])(.*)$",
      QRegularExpression::DotMatchesEverythingOption | QRegularExpression::UseUnicodePropertiesOption);
  if (const QRegularExpressionMatch m = check.match(step); m.hasMatch()) {
    const QMap<QString, QString> facts = Facts();
    if (!facts.contains(m.captured(1))) return "no such fact";
    const QString actual = facts[m.captured(1)];
    const bool ok = m.captured(2) == "=" ? actual == m.captured(3) : actual.contains(m.captured(3));
    return ok ? QString() : "got \"" + actual + "\"";
  }
  const QString verb = step.section(' ', 0, 0);
  const QString arg = step.section(' ', 1);
  if (verb == "answer") return answers_ << arg, QString();
  if (!form) return "no window";
  static const QStringList gameVerbs = {"draw", "seed", "speed", "engine", "computer"};
  static const QStringList keyVerbs = {"scroll", "type", "key", "press", "queue", "row", "close"};
  if (gameVerbs.contains(verb)) return GameStep(verb, arg);
  if (keyVerbs.contains(verb)) return InputStep(verb, arg);
  if (verb == "remove" || verb == "block") {
    const std::filesystem::path path = folder.Path() / arg.toStdString();
    std::filesystem::remove_all(path);
    QFile blocker(QString::fromStdString(path.string()));
    if (verb == "block" && !blocker.open(QIODevice::WriteOnly)) return "cannot block it";
    return {};
  }
  if (verb == "snap" || verb == "same") return CompareStep(verb == "snap");
  if (verb == "wait") {
    const auto [key, value] = std::pair{arg.section('=', 0, 0), arg.section('=', 1)};
    if (!QTest::qWaitFor([&] { return Facts()[key] == value; }, 60000)) return "got " + Facts()[key];
    return {};
  }
  return MouseStep(verb, arg);
}

// The chances, the pace, and requests asked of the engine directly.
QString Window::GameStep(const QString& verb, const QString& arg) {
  Engine& game = form->Game();
  if (verb == "draw") {
    for (const QString& value : arg.split(' ')) random->scripted.Push({value.toDouble()});
  } else if (verb == "seed") {
    random->seeded.emplace(arg.toULongLong());
  } else if (verb == "speed") {
    game.SetGameSpeed(arg.toFloat());
  } else if (verb == "engine") {
    if (arg == "collect") refusal_ = static_cast<int>(game.ExecuteAction(Action::Collect, 0, 0).refusal);
    if (arg == "continue") refusal_ = static_cast<int>(!game.ContinueAfterAction());
    if (arg == "next") refusal_ = static_cast<int>(!game.NextMove());
  } else {
    refusal_ = static_cast<int>(EngineTestAccess::ActAsComputer(game, Action::Collect, 0, 0).refusal);
  }
  return {};
}

// The speed bar, the amount box, the keyboard, the scenario list and closing.
QString Window::InputStep(const QString& verb, const QString& arg) {
  MainForm& w = *form;
  auto* amount = w.findChild<QLineEdit*>("amountEntry.text");
  if (verb == "scroll") {
    w.SpeedPanel().SetSpeed(arg.toInt());
  } else if (verb == "type") {
    amount->clear();
    QTest::keyClicks(amount, arg);
  } else if (verb == "key") {
    QTest::keyClick(amount, arg == "Escape" ? Qt::Key_Escape : Qt::Key_Return);
  } else if (verb == "press") {
    // A key as the keyboard gives it: to the control that has the focus.
    const QKeyCombination key = QKeySequence::fromString(arg)[0];
    QWidget* target = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : &w;
    QTest::keyClick(target, key.key(), key.keyboardModifiers());
  } else if (verb == "queue") {
    // A Return waiting in the queue, which reaches whatever takes keys when its turn comes.
    QMetaObject::invokeMethod(
        &w,
        [&w] {
          QWidget* target = w.OpenMessageBox() ? w.OpenMessageBox() : QApplication::focusWidget();
          if (target != nullptr) QTest::keyClick(target, Qt::Key_Return);
        },
        Qt::QueuedConnection);
  } else if (verb == "row") {
    auto* list = w.findChild<QListWidget*>("scenarioList");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(arg.toInt())).center());
  } else {
    w.close();
  }
  return {};
}

// snap (true) takes the facts; same (false) finds them unchanged (but "refusal").
QString Window::CompareStep(bool take) {
  QMap<QString, QString> now = Facts();
  now.remove("refusal");
  if (take) snapshot_ = now;
  for (auto it = now.cbegin(); it != now.cend(); ++it) {
    if (snapshot_[it.key()] != it.value()) {
      return QString("%1 was \"%2\", is \"%3\"").arg(it.key(), snapshot_[it.key()], it.value());
    }
  }
  return {};
}

// A control of the window, by its name, with the verb its mouse action.
QString Window::MouseStep(const QString& verb, const QString& arg) {
  MainForm& w = *form;
  const QString name = arg.isEmpty() ? verb : arg;
  QWidget* widget = name == "background" ? &w : w.findChild<QWidget*>(name);
  if (widget == nullptr) return "no such control";
  const QPoint middle = name == "background" ? QPoint(8, 300) : widget->rect().center();
  const QMap<QString, Qt::MouseButton> buttons = {
      {"left", Qt::LeftButton}, {"right", Qt::RightButton}, {"middle", Qt::MiddleButton}};
  if (arg.isEmpty()) {
    QTest::mouseClick(widget, Qt::LeftButton, {}, middle);
  } else if (verb == "hover") {
    QTest::mouseMove(widget, middle - QPoint(2, 0));  // moving, wherever the pointer was
    QTest::mouseMove(widget, middle);
  } else if (auto* button = qobject_cast<QAbstractButton*>(widget); verb == "hidden" && button) {
    button->click();
  } else if (buttons.contains(verb)) {
    // Sent through the window as the screen sends it: it reaches whatever
    // control lies at that point, the pointer there first.
    QWindow* window = w.windowHandle();
    QTest::mouseMove(widget, middle);
    QTest::mouseClick(window, buttons[verb], {}, window->mapFromGlobal(widget->mapToGlobal(middle)));
  } else {
    return "no such step";
  }
  return {};
}

}  // namespace yuunagi::test
