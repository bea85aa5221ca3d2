#include "core/MainForm.h"

#include <QApplication>
#include <QEventLoop>
#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>

#include <algorithm>
#include <cmath>
#include <string>

#include "commands/ActionPanel.h"
#include "commands/AmountPanel.h"
#include "commands/FactionPicker.h"
#include "commands/WeaponPanel.h"
#include "core/BoxKeyGuard.h"
#include "core/MessagePanel.h"
#include "core/SpeedBar.h"
#include "core/StatusPanel.h"
#include "core/TurnPanel.h"
#include "core/WarRecordWindow.h"
#include "files/SaveSlotPanel.h"
#include "files/ScenarioPanel.h"
#include "files/TitleButtons.h"
#include "media/MusicPlayer.h"

namespace yuunagi {

namespace {

// The window's client area: 7740 x 6570 twips.
const QSize kClientSize = Twips(0, 0, 7740, 6570).size();

}  // namespace

MainForm::MainForm(GameFolders folders, std::unique_ptr<RandomSource> random,
                   std::unique_ptr<MusicPlayer> music, std::function<void(int)> exitProcess)
    : folders_(std::move(folders)),
      random_(std::move(random)),
      music_(std::move(music)),
      exitProcess_(std::move(exitProcess)),
      engine_(*this, *random_) {
  setObjectName(QStringLiteral("MainForm"));
  setFont(LayoutFont(kDefaultPoints));
  setFixedSize(kClientSize);
  BuildPanels();

  pauseTimer_.setSingleShot(true);
  // A coarse timer may fire up to 5 % early; the pause is the player's setting.
  pauseTimer_.setTimerType(Qt::PreciseTimer);
  connect(&pauseTimer_, &QTimer::timeout, this, [this] {
    if (!ended_) engine_.NextMove();
  });
  connect(speed_, &SpeedBar::speedChosen, this,
          [this](int milliseconds) { engine_.SetGameSpeed(static_cast<float>(milliseconds)); });

  record_ = new WarRecordWindow(this);

  // Form_Load: the caption and the speed bar show the game's own values
  // before the window is ever painted.
  setWindowTitle(ToQString(GameTitle));
  speed_->SetSpeed(static_cast<int>(std::lround(Data().GameSpeed)));
}

MainForm::~MainForm() { screens_.reset(); }

void MainForm::KeepScreens(std::unique_ptr<QObject> screens) { screens_ = std::move(screens); }

// The panels are made in the order of the design, which is the order they
// stack in (the later over the earlier) and take the focus in.
void MainForm::BuildPanels() {
  texture_ = MakePanel(this, QStringLiteral("texture"), Twips(240, 120, 975, 975), false);
  message_ = new MessagePanel(this);
  emblems_[0] = MakePanel(this, QStringLiteral("emblem0"), Twips(120, 0, 735, 1095), false);
  turn_ = new TurnPanel(this);
  titleButtons_ = new TitleButtons(this);
  townMap_ = MakePanel(this, QStringLiteral("townMap"), Twips(0, 240, 1455, 735), false);
  amount_ = new AmountPanel(this);
  weapons_ = new WeaponPanel(this);
  // The status panels, designed from the last to the first.
  for (int i = kDistrictCount - 1; i >= 0; --i) status_[i] = new StatusPanel(this, i);
  picker_ = new FactionPicker(this);
  scenarios_ = new ScenarioPanel(this);
  slots_ = new SaveSlotPanel(this);
  speed_ = new SpeedBar(this);
  actions_ = new ActionPanel(this);
  BuildTitle();
}

void MainForm::BuildTitle() {
  // IPA P Gothic sets katakana wider than the title was designed for: the
  // title is narrowed to its designed width, so it stays inside the window.
  const QRect titlePlace = Twips(645, 1200, 5865, 960);
  QFont titleFont = LayoutFont(48, true);
  const int naturalWidth = QFontMetrics(titleFont).horizontalAdvance(ToQString(GameTitle));
  if (naturalWidth > titlePlace.width()) titleFont.setStretch(titlePlace.width() * 100 / naturalWidth);
  title_ = MakeLabel(this, QStringLiteral("title"), titlePlace, GameTitle, titleFont);
}

std::array<QWidget*, 5> MainForm::MenuPanels() const {
  return {actions_, weapons_, picker_, slots_, titleButtons_};
}

bool MainForm::TitleShown() const { return title_->isVisible(); }

void MainForm::ShowGameScreen(const QString& caption) {
  for (StatusPanel* panel : status_) panel->show();
  setWindowTitle(caption);
  turn_->show();
  message_->show();
  title_->hide();
}

void MainForm::SetTownPictures(QImage map, QImage texture) {
  townMap_->SetPicture(std::move(map));
  texture_->SetPicture(std::move(texture));
  DressPanels();
}

void MainForm::SetEmblem(int faction, QImage emblem) {
  // The first holder is part of the design, the others are made like it.
  if (faction > 0) {
    auto* holder = new PictureBox(this);
    holder->setObjectName(QStringLiteral("emblem%1").arg(faction));
    holder->setGeometry(emblems_[0]->geometry());
    holder->hide();
    emblems_[faction] = holder;
  }
  emblems_[faction]->SetPicture(std::move(emblem));
}

void MainForm::SetMessage(std::string_view text) { message_->SetText(text); }

namespace {
// The game writes a line break as a carriage return; the box shows it as one.
QString BoxText(std::string_view text) {
  return ToQString(text).replace(QLatin1Char('\r'), QLatin1Char('\n'));
}
}  // namespace

// Input of the window other than closing it, while a message box waits.
class HeldInput : public QObject {
 public:
  explicit HeldInput(QWidget& window) : window_(window) { qApp->installEventFilter(this); }
  ~HeldInput() override { qApp->removeEventFilter(this); }
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::MouseMove:
      case QEvent::Wheel:
      case QEvent::KeyPress:
      case QEvent::KeyRelease: {
        auto* widget = qobject_cast<QWidget*>(watched);
        return widget != nullptr && widget->window() == &window_;
      }
      default: return false;
    }
  }

 private:
  QWidget& window_;
};

int MainForm::RunMessageBox(QMessageBox& box) {
  box.setTextFormat(Qt::PlainText);
  // Not modal: a modal box would keep the window from being closed.
  box.setWindowModality(Qt::NonModal);
  HeldInput held(*this);
  BoxKeyGuard keys(box);
  QEventLoop wait;
  connect(&box, &QMessageBox::finished, &wait, &QEventLoop::quit);
  openBox_ = &box;
  box.setFont(ZoomedFont(kDefaultPoints));
  box.show();
  box.raise();
  box.activateWindow();
  if (!ended_) wait.exec();
  openBox_ = nullptr;
  if (!ended_) activateWindow();  // the keys come back to the game
  return box.result();
}

void MainForm::ShowMessageBox(std::string_view text) {
  QMessageBox box(QMessageBox::NoIcon, ToQString(GameTitle), BoxText(text), QMessageBox::Ok, this);
  RunMessageBox(box);
}

bool MainForm::AskYesNo(std::string_view text) {
  QMessageBox box(QMessageBox::NoIcon, ToQString(GameTitle), BoxText(text),
                  QMessageBox::Yes | QMessageBox::No, this);
  box.setDefaultButton(QMessageBox::Yes);
  return RunMessageBox(box) == QMessageBox::Yes;
}

int MainForm::AskYesNoCancel(std::string_view text) {
  QMessageBox box(QMessageBox::NoIcon, ToQString(GameTitle), BoxText(text),
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
  box.setDefaultButton(QMessageBox::Yes);
  box.setEscapeButton(QMessageBox::Cancel);
  return RunMessageBox(box);
}

void MainForm::RepaintNow() {
  if (isVisible()) repaint();
}

void MainForm::ScheduleNextMove(float seconds) {
  if (ended_) return;
  const int milliseconds = static_cast<int>(std::lround(std::max(0.0f, seconds) * 1000.0f));
  pauseLength_ = milliseconds;
  pauseTimer_.start(milliseconds);
}

void MainForm::DressPanels() {
  StretchPicture(*this, *townMap_);
  for (PictureBox* panel : std::initializer_list<PictureBox*>{message_, titleButtons_, picker_, actions_,
                                                              weapons_, amount_, speed_, slots_, turn_}) {
    StretchPicture(*panel, *texture_);
  }
  // One face for every button, shared: at 200 % the texture is shown at the
  // size it is drawn at.
  QPixmap face = texture_->Picture();
  face.setDevicePixelRatio(kPictureScale / zoom_);
  for (QWidget* panel : MenuPanels()) DressButtons(*panel, face);
  DressButtons(*amount_, face);
  scenarios_->DressButton(face);
}

QFont MainForm::ZoomedFont(qreal points, bool bold) const { return LayoutFont(points * zoom_, bold); }

void MainForm::SetZoom(double zoom) {
  if (zoom == zoom_) return;
  zoom_ = zoom;
  const auto scaled = [zoom](QRect r) {
    return QRect(qRound(r.x() * zoom), qRound(r.y() * zoom), qRound(r.width() * zoom),
                 qRound(r.height() * zoom));
  };
  setFont(ZoomedFont(kDefaultPoints));
  for (QWidget* widget : findChildren<QWidget*>()) {
    const QVariant points = widget->property(kDesignPoints);
    if (points.isValid()) {
      QFont font = widget->font();
      font.setPointSizeF(points.toReal() * zoom);
      widget->setFont(font);
    }
    const QVariant place = widget->property(kDesignPlace);
    if (!place.isValid()) continue;
    auto* label = qobject_cast<QLabel*>(widget);
    // The message line wraps its text in its designed box; other labels fit their text.
    if (label != nullptr && !label->wordWrap()) {
      label->move(scaled(place.toRect()).topLeft());
      label->adjustSize();  // sized to its text, as ever
    } else {
      widget->setGeometry(scaled(place.toRect()));
    }
  }
  // The mover's name keeps its highlight at the new size.
  if (Data().GameState != Phase::NotStarted) {
    for (int i = 0; i < kDistrictCount; ++i) status_[i]->HighlightOwner(i == Data().CurrentDistrict, zoom_);
  }
  setFixedSize(scaled(QRect(QPoint(), kClientSize)).size());
  if (!townMap_->Picture().isNull()) {
    DressPanels();
    if (Data().GameState != Phase::NotStarted) DrawDistrictEmblems();
  }
}

void MainForm::PlayMusic(std::string_view name) {
  song_ = std::string(name);
  if (musicOn_) music_->PlayMusic(name);
}

void MainForm::StopMusic() {
  song_.clear();
  music_->StopMusic();
}

void MainForm::SetMusicOn(bool on) {
  musicOn_ = on;
  if (!on) {
    music_->StopMusic();
  } else if (!song_.empty() && !ended_) {
    music_->PlayMusic(song_);
  }
}

void MainForm::UpdateWaitCue() {
  message_->SetWaitCueShown(Data().GameState == Phase::AwaitingClick && !ended_);
}

void MainForm::CancelTarget() {
  if (engine_.CancelTargeting()) weapons_->show();
}

void MainForm::EndProgram() {
  if (ended_) return;
  ended_ = true;
  pauseTimer_.stop();
  ForgetDecidedGame();
  // No input reaches the game any more, whatever is still queued.
  setEnabled(false);
  music_->CloseMusic();
  // A message box on screen and the war record go with the window.
  if (openBox_ != nullptr) openBox_->done(0);
  record_->close();
  exitProcess_(0);
}

}  // namespace yuunagi
