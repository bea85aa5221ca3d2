#include "tests/window/WindowTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <stdexcept>

#include "core/StartUp.h"
#include "core/WarRecordWindow.h"
#include "files/SaveFile.h"
#include "files/ScenarioFile.h"
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

Window::Window(const std::function<void(AppFolder&)>& files, bool keepSettings) {
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
  if (answer == "Close") {  // the player closes the game window instead
    QTimer::singleShot(0, form.get(), &QWidget::close);
    return false;
  }
  QAbstractButton* button = box->button(answer == "No" ? QMessageBox::No : QMessageBox::Yes);
  if (button == nullptr) button = box->button(QMessageBox::Ok);
  QTimer::singleShot(0, button, &QAbstractButton::click);
  return false;
}

namespace {

QString Number(int n) { return QString::number(n); }

// The indexes of the controls shown, as digits.
template <typename T, std::size_t N>
QString Shown(const std::array<T*, N>& controls, std::size_t count = N) {
  QString shown;
  for (std::size_t k = 0; k < count; ++k) shown += controls[k]->isHidden() ? "" : Number(static_cast<int>(k));
  return shown;
}

}  // namespace

// Facts: exit, boxes, boxsongs (the song playing as each box appeared),
// box.NAME (what label NAME showed on the screen when the last box appeared),
// oddboxes (not plain text or not captioned with the title), saves; with a
// window also: shown (top-level controls; "game" for the game screen),
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
  if (!form) return f;
  const MainForm& w = *form;
  const GameData& data = w.Data();
  QStringList shown, captions, list, players;
  for (QWidget* widget : w.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (!widget->isWindow() && !widget->isHidden()) shown << widget->objectName();
  }
  shown.sort();
  for (GraphicOption* option : w.Option1) captions << (option->isChecked() ? "*" : "") + option->text();
  for (int row = 0; row < w.List1->count(); ++row) {
    list << (row == w.List1->currentRow() ? "*" : "") + w.List1->item(row)->text();
  }
  for (int i = 0; i < kDistrictCount; ++i) {
    const DistrictRecord& d = data.Districts[i];
    players << Number(data.PlayerOfFaction[i]);
    f["owners"] += Number(d.Owner);
    if (w.Data1[i]->font().bold()) f["highlight"] += Number(i);
    const QString panel = QStringList{w.Data1[i]->text(), w.Data2[i]->text(), w.Data3[i]->text(),
                                      w.Data4[i]->text(), w.Data5[i]->text(), w.Data6[i]->text()}
                              .join(' ');
    f[QString("panel%1").arg(i)] = panel;
    f["panels"] += panel + "|";
    f[QString("held%1").arg(i)] =
        ToQString(FactionNames[d.Owner]) +
        QString::asprintf(" %d %d %d %d %d", d.Money, d.Soldiers, d.Strength, d.Weapon, d.Development);
  }
  int richLabels = 0;
  for (const QLabel* label : w.findChildren<QLabel*>()) richLabels += label->textFormat() != Qt::PlainText;
  // The game screen: the turn and message panels and the six status panels.
  const QString game =
      "Picture10 Picture11 Picture3(0) Picture3(1) Picture3(2) Picture3(3) Picture3(4) Picture3(5)";
  f["shown"] = shown.join(' ').replace(game, "game");
  f["caption"] = w.windowTitle();
  f["message"] = w.Message->text();
  f["messagesize"] = Number(w.Message->text().size());
  f["song"] = QString::fromStdString(form->Music().CurrentSong());
  f["state"] = Number(static_cast<int>(data.GameState));
  f["focus"] = QApplication::focusWidget() != nullptr ? QApplication::focusWidget()->objectName() : QString();
  f["size"] = QString("%1x%2").arg(w.width()).arg(w.height());
  f["cue"] = Number(w.WaitCue->isVisible());
  f["music"] = Number(w.MusicOn());
  f["record"] = Number(w.Record->isVisible());
  f["strong"] = Number(w.StrongComputer());
  f["boxbuttons"] = boxButtons_.join(' ');
  f["slot"] = Number(data.SaveSlot);
  f["slots"] = captions.join('|');
  f["list"] = list.join('|');
  f["scenario"] = QString::fromStdString(data.ScenarioName);
  f["factions"] = Shown(w.Command2, kFactionCount);
  f["weapons"] = Shown(w.Command4);
  f["heading"] = w.Label1[0]->text();
  f["menu"] = w.Label1[1]->text();
  f["players"] = players.join(',') + "/" + Number(data.PlayerCount);
  f["turn"] = w.Label8->text();
  f["strategy"] = w.Label7->text();
  f["mover"] = Number(data.CurrentDistrict);
  f["moves"] = Number(static_cast<int>(form->Game().MoveCount()));
  f["draws"] = Number(random->draws);
  f["pending"] = Number(w.MovePending());
  f["pause"] = Number(w.PauseMilliseconds());
  f["text"] = w.Text1->text();
  f["refusal"] = Number(refusal_);
  f["richlabels"] = Number(richLabels);
  return f;
}

QString Window::Run(const QString& script) {
  for (const QString& step : script.split("; ")) {
    const QString failure = macros.contains(step) ? Run(macros[step]) : Step(step);
    if (!failure.isEmpty()) return "step \"" + step + "\": " + failure;
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
  MainForm& w = *form;
  Engine& game = w.Game();
  const auto refused = [this](bool refusedNow) { refusal_ = static_cast<int>(refusedNow); };
  if (verb == "draw") {
    for (const QString& value : arg.split(' ')) random->scripted.Push({value.toDouble()});
  } else if (verb == "seed") {
    random->seeded.emplace(arg.toULongLong());
  } else if (verb == "speed") {
    game.SetGameSpeed(arg.toFloat());
  } else if (verb == "scroll") {
    w.HScroll1->setValue(arg.toInt());
  } else if (verb == "type") {
    w.Text1->clear();
    QTest::keyClicks(w.Text1, arg);
  } else if (verb == "key") {
    QTest::keyClick(w.Text1, arg == "Escape" ? Qt::Key_Escape : Qt::Key_Return);
  } else if (verb == "press") {
    // A key as the keyboard gives it: to the control that has the focus.
    const QKeyCombination key = QKeySequence::fromString(arg)[0];
    QWidget* target = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : &w;
    QTest::keyClick(target, key.key(), key.keyboardModifiers());
  } else if (verb == "row") {
    QTest::mouseClick(w.List1->viewport(), Qt::LeftButton, {},
                      w.List1->visualItemRect(w.List1->item(arg.toInt())).center());
  } else if (verb == "close") {
    w.close();
  } else if (verb == "engine") {
    if (arg == "collect") refusal_ = static_cast<int>(game.ExecuteAction(Action::Collect, 0, 0).refusal);
    if (arg == "continue") refused(!game.ContinueAfterAction());
    if (arg == "next") refused(!game.NextMove());
  } else if (verb == "computer") {
    refusal_ = static_cast<int>(EngineTestAccess::ActAsComputer(game, Action::Collect, 0, 0).refusal);
  } else if (verb == "remove" || verb == "block") {
    const std::filesystem::path path = folder.Path() / arg.toStdString();
    std::filesystem::remove_all(path);
    QFile blocker(QString::fromStdString(path.string()));
    if (verb == "block" && !blocker.open(QIODevice::WriteOnly)) return "cannot block it";
  } else if (verb == "snap" || verb == "same") {
    QMap<QString, QString> now = Facts();
    now.remove("refusal");
    if (verb == "snap") snapshot_ = now;
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
      if (snapshot_[it.key()] != it.value()) {
        return QString("%1 was \"%2\", is \"%3\"").arg(it.key(), snapshot_[it.key()], it.value());
      }
    }
  } else if (verb == "wait") {
    const auto [key, value] = std::pair{arg.section('=', 0, 0), arg.section('=', 1)};
    if (!QTest::qWaitFor([&] { return Facts()[key] == value; }, 60000)) return "got " + Facts()[key];
  } else {
    // A control of the window, by its designed name, with the verb its mouse action.
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
  }
  return {};
}

}  // namespace yuunagi::test
