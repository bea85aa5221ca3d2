#include "core/MainForm.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QScrollBar>

#include <algorithm>
#include <cmath>
#include <string>

#include "commands/ActionMenu.h"
#include "commands/FactionSelection.h"
#include "commands/KeyboardPlay.h"
#include "commands/WeaponMenu.h"
#include "core/WarRecordWindow.h"
#include "files/TitleScreen.h"
#include "media/MusicPlayer.h"

namespace yuunagi {

namespace {

// The layout is designed in twips; 15 twips make one pixel.
constexpr int kTwipsPerPixel = 15;

QRect Twips(int left, int top, int width, int height) {
  return QRect(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel, height / kTwipsPerPixel);
}

// The window's client area: 7740 x 6570 twips.
const QSize kClientSize(7740 / kTwipsPerPixel, 6570 / kTwipsPerPixel);

// The font a control uses when the layout gives none.
constexpr qreal kDefaultPoints = 9;

QString IndexedName(const char* name, int index) {
  return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

// Each control remembers its place in the design (at 100 %), so the window
// can be laid out again at another zoom.
const char* const kDesignPlace = "designPlace";
const char* const kDesignPoints = "designPoints";

void Place(QWidget* widget, QRect place) {
  widget->setProperty(kDesignPlace, place);
  widget->setGeometry(place);
}

void SetDesignFont(QWidget* widget, const QFont& font) {
  widget->setProperty(kDesignPoints, font.pointSizeF());
  widget->setFont(font);
}

PictureBox* MakePanel(QWidget* parent, const QString& name, QRect place, bool shown) {
  auto* panel = new PictureBox(parent);
  panel->setObjectName(name);
  Place(panel, place);
  panel->setVisible(shown);
  return panel;
}

// Labels are transparent and sized to their text, their left edge fixed.
// Their texts are shown as they are, never read as markup.
QLabel* MakeLabel(QWidget* parent, const QString& name, QRect place, std::string_view caption,
                  const QFont& font) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  Place(label, place);
  SetDesignFont(label, font);
  label->setTextFormat(Qt::PlainText);
  MainForm::SetCaption(label, caption);
  return label;
}

GraphicButton* MakeButton(QWidget* parent, const QString& name, QRect place, std::string_view caption,
                          bool shown = true) {
  auto* button = new GraphicButton(ToQString(caption), parent);
  button->setObjectName(name);
  Place(button, place);
  button->setVisible(shown);
  return button;
}

}  // namespace

QString ToQString(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QFont MainForm::LayoutFont(qreal points, bool bold) {
  QFont font(QStringLiteral("IPAPGothic"));
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

void MainForm::SetCaption(QLabel* label, std::string_view text) {
  label->setTextFormat(Qt::PlainText);
  label->setText(ToQString(text));
  label->adjustSize();
}

MainForm::MainForm(GameFolders folders, std::unique_ptr<RandomSource> random,
                   std::unique_ptr<MusicPlayer> music, std::function<void(int)> exitProcess)
    : folders_(std::move(folders)),
      random_(std::move(random)),
      music_(std::move(music)),
      exitProcess_(std::move(exitProcess)),
      host_(*this),
      engine_(host_, *random_) {
  setObjectName(QStringLiteral("MainForm"));
  setFont(LayoutFont(kDefaultPoints));
  setFixedSize(kClientSize);
  BuildLayout();

  pauseTimer_.setSingleShot(true);
  // A coarse timer may fire up to 5 % early; the pause is the player's setting.
  pauseTimer_.setTimerType(Qt::PreciseTimer);
  connect(&pauseTimer_, &QTimer::timeout, this, [this] {
    if (!ended_) engine_.NextMove();
  });
  connect(HScroll1, &QScrollBar::valueChanged, this, &MainForm::HScroll1_Change);

  titleScreen_ = std::make_unique<TitleScreen>(*this);
  factions_ = std::make_unique<FactionSelection>(*this);
  actionMenu_ = std::make_unique<ActionMenu>(*this);
  weaponMenu_ = std::make_unique<WeaponMenu>(*this);
  Record = new WarRecordWindow(this);
  keyboard_ = new KeyboardPlay(*this);

  // Form_Load: the caption and the speed bar show the game's own values
  // before the window is ever painted.
  setWindowTitle(ToQString(GameTitle));
  HScroll1->setValue(static_cast<int>(std::lround(Data().GameSpeed)));
}

MainForm::~MainForm() = default;

void MainForm::BuildLayout() {
  const QFont messageFont = LayoutFont(12, true);
  const QFont turnFont = LayoutFont(14.25);
  const QFont headingFont = LayoutFont(kDefaultPoints);

  Picture12 = MakePanel(this, "Picture12", Twips(240, 120, 975, 975), false);

  Picture11 = MakePanel(this, "Picture11", Twips(240, 5280, 7335, 1215), false);
  Message = new QLabel(Picture11);
  Message->setObjectName(QStringLiteral("メッセージ"));
  Place(Message, Twips(0, 0, 7335, 1215));
  SetDesignFont(Message, messageFont);
  // Descriptions and hints come from the scenario files: shown as they are,
  // never read as markup (an <img> of a device would hang the game).
  Message->setTextFormat(Qt::PlainText);
  Message->setWordWrap(true);
  Message->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  SourcePicture[0] = MakePanel(this, IndexedName("SourcePicture", 0), Twips(120, 0, 735, 1095), false);

  Picture10 = MakePanel(this, "Picture10", Twips(5640, 240, 1935, 975), false);
  Label8 = MakeLabel(Picture10, "Label8", Twips(120, 120, 810, 285), "Turn 1", turnFont);
  Label7 = MakeLabel(Picture10, "Label7", Twips(120, 480, 1425, 285), "ヒノデの戦略", turnFont);

  Picture1 = MakePanel(this, "Picture1", Twips(5640, 5400, 1935, 1095), true);
  Command1[0] = MakeButton(Picture1, IndexedName("Command1", 0), Twips(240, 120, 1455, 375), "はじめから");
  Command1[1] = MakeButton(Picture1, IndexedName("Command1", 1), Twips(240, 600, 1455, 375), "つづきから");

  Picture9 = MakePanel(this, "Picture9", Twips(0, 240, 1455, 735), false);

  Command7 = MakeButton(this, "Command7", Twips(5640, 2280, 1935, 375), "決定", false);

  Picture6 = MakePanel(this, "Picture6", Twips(5640, 3720, 1935, 1455), false);
  Text1 = new QLineEdit(QStringLiteral("1"), Picture6);
  Text1->setObjectName(QStringLiteral("Text1"));
  Place(Text1, Twips(240, 120, 1335, 375));
  Command5[0] = MakeButton(Picture6, IndexedName("Command5", 0), Twips(240, 600, 1335, 375), "決定");
  Command5[1] = MakeButton(Picture6, IndexedName("Command5", 1), Twips(240, 960, 1335, 375), "キャンセル");

  Picture5 = MakePanel(this, "Picture5", Twips(5640, 2520, 1935, 2655), false);
  Label1[2] =
      MakeLabel(Picture5, IndexedName("Label1", 2), Twips(360, 120, 1080, 180), "～武器選択～", headingFont);
  Command4[0] =
      MakeButton(Picture5, IndexedName("Command4", 0), Twips(255, 360, 1455, 375), "キャンセル", false);
  for (int level = 1; level <= kWeaponLevels; ++level) {
    Command4[level] = MakeButton(Picture5, IndexedName("Command4", level),
                                 Twips(240, 360 + 360 * level, 1455, 375), WeaponNames[level - 1], false);
  }

  // The status panels, designed from the last to the first.
  for (int i = kDistrictCount - 1; i >= 0; --i) BuildStatusPanel(i);

  Picture2 = MakePanel(this, "Picture2", Twips(5640, 2160, 1935, 3015), false);
  Label1[0] =
      MakeLabel(Picture2, IndexedName("Label1", 0), Twips(360, 120, 1080, 180), "～勢力選択～", headingFont);
  for (int k = 0; k <= kFactionCount; ++k) {
    const std::string_view caption = k < kFactionCount ? FactionNames[k] : "決定";
    Command2[k] =
        MakeButton(Picture2, IndexedName("Command2", k), Twips(240, 360 + 360 * k, 1455, 375), caption);
  }

  List1 = new QListWidget(this);
  List1->setObjectName(QStringLiteral("List1"));
  Place(List1, Twips(5640, 2640, 1935, 2580));
  List1->setSortingEnabled(false);
  List1->hide();

  Picture8 = MakePanel(this, "Picture8", Twips(5160, 4080, 2415, 2415), false);
  Label1[3] = MakeLabel(Picture8, IndexedName("Label1", 3), Twips(240, 120, 1860, 180),
                        "～セーブファイル選択～", headingFont);
  for (int k = 0; k < 4; ++k) {
    Option1[k] = new GraphicOption(QStringLiteral("シナリオ"), Picture8);
    Option1[k]->setObjectName(IndexedName("Option1", k));
    Place(Option1[k], Twips(120, 480 + 360 * k, 2175, 255));
  }
  Command8 = MakeButton(Picture8, "Command8", Twips(120, 1920, 975, 375), "決定");
  Command9 = MakeButton(Picture8, "Command9", Twips(1320, 1920, 975, 375), "キャンセル");

  Picture7 = MakePanel(this, "Picture7", Twips(5640, 4320, 1935, 1095), true);
  Label9[0] = MakeLabel(Picture7, IndexedName("Label9", 0), Twips(120, 120, 1515, 180), "～ゲームスピード～",
                        headingFont);
  Label9[2] = MakeLabel(Picture7, IndexedName("Label9", 2), Twips(120, 360, 345, 180), "速い", headingFont);
  Label9[1] = MakeLabel(Picture7, IndexedName("Label9", 1), Twips(1440, 360, 345, 180), "遅い", headingFont);
  HScroll1 = new QScrollBar(Qt::Horizontal, Picture7);
  HScroll1->setObjectName(QStringLiteral("HScroll1"));
  Place(HScroll1, Twips(120, 600, 1695, 255));
  HScroll1->setRange(100, 2000);
  HScroll1->setSingleStep(100);
  HScroll1->setPageStep(500);
  // The speed is taken once the bar has been set, not while its thumb is dragged.
  HScroll1->setTracking(false);

  Picture4 = MakePanel(this, "Picture4", Twips(5640, 2160, 1935, 3015), false);
  Label1[1] =
      MakeLabel(Picture4, IndexedName("Label1", 1), Twips(360, 120, 1080, 180), "～行動選択～", headingFont);
  static constexpr std::array<std::string_view, 7> kActionCaptions = {"攻撃", "集金",     "町開発", "徴兵",
                                                                      "訓練", "武器開発", "セーブ"};
  for (int k = 0; k < 7; ++k) {
    Command3[k] = MakeButton(Picture4, IndexedName("Command3", k), Twips(240, 360 + 360 * k, 1455, 375),
                             kActionCaptions[k]);
  }

  // IPA P Gothic sets katakana wider than the title was designed for: the
  // title is narrowed to its designed width, so it stays inside the window.
  const QRect titlePlace = Twips(645, 1200, 5865, 960);
  QFont titleFont = LayoutFont(48, true);
  const int naturalWidth = QFontMetrics(titleFont).horizontalAdvance(ToQString(GameTitle));
  if (naturalWidth > titlePlace.width()) titleFont.setStretch(titlePlace.width() * 100 / naturalWidth);
  TitleLabel = MakeLabel(this, "TitleLabel", titlePlace, GameTitle, titleFont);

  WaitCue = MakeLabel(Picture11, "WaitCue", Twips(6600, 960, 735, 225), "▼ 次へ", LayoutFont(kDefaultPoints));
  WaitCue->move(Picture11->width() - WaitCue->width() - 4, Picture11->height() - WaitCue->height() - 2);
  WaitCue->setProperty(kDesignPlace, WaitCue->geometry());
  WaitCue->setAttribute(Qt::WA_TransparentForMouseEvents);
  WaitCue->hide();
}

void MainForm::BuildStatusPanel(int i) {
  static constexpr std::array<QPoint, kDistrictCount> kPlaces = {QPoint(240, 240),   QPoint(2040, 240),
                                                                 QPoint(3840, 240),  QPoint(240, 2760),
                                                                 QPoint(2040, 2760), QPoint(3840, 2760)};
  PictureBox* panel =
      MakePanel(this, IndexedName("Picture3", i), Twips(kPlaces[i].x(), kPlaces[i].y(), 1695, 2415), false);
  Picture3[i] = panel;
  const QFont font = LayoutFont(11.25);
  // A click on a label of the panel is a click on the panel (the target pick).
  auto label = [&](const char* name, int left, int top, int width, std::string_view caption) {
    QLabel* made = MakeLabel(panel, IndexedName(name, i), Twips(left, top, width, 225), caption, font);
    made->setAttribute(Qt::WA_TransparentForMouseEvents);
    return made;
  };
  Data1[i] = label("Data1", 600, 120, 450, "ヒノデ");
  Label2[i] = label("Label2", 360, 480, 225, "金");
  Data2[i] = label("Data2", 960, 480, 120, "0");
  Label3[i] = label("Label3", 240, 840, 450, "兵士");
  Data3[i] = label("Data3", 960, 840, 120, "0");
  Label4[i] = label("Label4", 240, 1200, 390, "強さ");
  Data4[i] = label("Data4", 960, 1200, 120, "0");
  Label5[i] = label("Label5", 240, 1560, 450, "武器");
  Data5[i] = label("Data5", 960, 1560, 120, "0");
  Label6[i] = label("Label6", 240, 1920, 450, "開発");
  Data6[i] = label("Data6", 960, 1920, 120, "0");
}

void MainForm::HScroll1_Change(int value) { engine_.SetGameSpeed(static_cast<float>(value)); }

void MainForm::SetMessage(std::string_view text) { Message->setText(ToQString(text)); }

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

void MainForm::RepaintNow() {
  if (isVisible()) repaint();
}

void MainForm::ScheduleNextMove(float seconds) {
  if (ended_) return;
  const int milliseconds = static_cast<int>(std::lround(std::max(0.0f, seconds) * 1000.0f));
  pauseTimer_.start(milliseconds);
}

void MainForm::HidePanel(QWidget* panel) {
  QWidget* focused = focusWidget();
  // A hidden button keeps no focus, nor passes it to another button: no key
  // can press a spent command again.
  if (focused != nullptr && (focused == panel || panel->isAncestorOf(focused)))
    setFocus(Qt::OtherFocusReason);
  panel->hide();
}

void MainForm::DressPanels() {
  StretchPicture(*this, *Picture9);
  for (PictureBox* panel :
       {Picture11, Picture1, Picture2, Picture4, Picture5, Picture6, Picture7, Picture8, Picture10}) {
    StretchPicture(*panel, *Picture12);
  }
  // One face for every button, shared: at 200 % the texture is shown at the
  // size it is drawn at.
  QPixmap face = Picture12->Picture();
  face.setDevicePixelRatio(kPictureScale / zoom_);
  for (GraphicOption* option : Option1) option->SetPicture(face);
  for (GraphicButton* button : {Command7, Command8, Command9}) button->SetPicture(face);
  for (const auto* buttons : {&Command2, &Command3}) {
    for (GraphicButton* button : *buttons) button->SetPicture(face);
  }
  for (GraphicButton* button : Command4) button->SetPicture(face);
  for (GraphicButton* button : Command1) button->SetPicture(face);
  for (GraphicButton* button : Command5) button->SetPicture(face);
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
    if (label != nullptr && label != Message) {
      label->move(scaled(place.toRect()).topLeft());
      label->adjustSize();  // sized to its text, as ever
    } else {
      widget->setGeometry(scaled(place.toRect()));
    }
  }
  // The mover's name keeps its highlight at the new size.
  if (Data().GameState != Phase::NotStarted) {
    for (int i = 0; i < kDistrictCount; ++i) {
      const bool mover = i == Data().CurrentDistrict;
      Data1[i]->setFont(ZoomedFont(mover ? 14 : 11, mover));
      Data1[i]->adjustSize();
    }
  }
  setFixedSize(scaled(QRect(QPoint(), kClientSize)).size());
  if (!Picture9->Picture().isNull()) {
    DressPanels();
    if (Data().GameState != Phase::NotStarted) host_.DrawDistrictEmblems();
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

void MainForm::FocusFirstButton(QWidget* panel) {
  QAbstractButton* first = nullptr;
  for (QAbstractButton* b : panel->findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly)) {
    if (!b->isVisible() || !b->isEnabled()) continue;
    if (first == nullptr || b->y() < first->y() || (b->y() == first->y() && b->x() < first->x())) first = b;
  }
  if (first != nullptr) first->setFocus(Qt::OtherFocusReason);
}

void MainForm::UpdateWaitCue() { WaitCue->setVisible(Data().GameState == Phase::AwaitingClick && !ended_); }

void MainForm::CancelTarget() {
  if (engine_.CancelTargeting()) Picture5->show();
}

void MainForm::EndProgram() {
  if (ended_) return;
  ended_ = true;
  pauseTimer_.stop();
  // No input reaches the game any more, whatever is still queued.
  setEnabled(false);
  music_->CloseMusic();
  // A message box on screen and the war record go with the window.
  if (openBox_ != nullptr) openBox_->done(0);
  Record->close();
  exitProcess_(0);
}

void MainForm::closeEvent(QCloseEvent* event) {
  event->accept();
  EndProgram();
}

}  // namespace yuunagi
