#include "core/WarRecordWindow.h"

#include <QAbstractListModel>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QListView>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>
#include <cmath>

#include "core/Layout.h"
#include "core/WarRecordFile.h"

namespace yuunagi {

// ヒノデ vermilion, ソラノ sky blue, ハナミ pink, トコナ green, セリ gold, ミオツ purple.
const std::array<QColor, kFactionCount> kFactionColors = {QColor(0xD0, 0x4A, 0x2A), QColor(0x3F, 0x8F, 0xD2),
                                                          QColor(0xD6, 0x52, 0x8E), QColor(0x2F, 0x8C, 0x50),
                                                          QColor(0xCB, 0x9E, 0x1E), QColor(0x7A, 0x4B, 0xB0)};

namespace {

const QColor kPaper(0xFF, 0xFD, 0xF8);
const QColor kStripe(0xF7, 0xF2, 0xE9);
const QColor kInk(0x3A, 0x35, 0x30);
const QColor kFaint(0x8A, 0x82, 0x78);
const QColor kGrid(0xE8, 0xE2, 0xD8);
const QColor kGameLineInk(0xA0, 0x3A, 0x14);

QString FactionLabel(int faction, int player) {
  QString label = ToQString(FactionNames[faction]);
  if (player > 0) label += QStringLiteral("<%1P>").arg(player);
  return label;
}

// A step of 1, 2 or 5 times a power of ten that cuts `range` into about `parts`.
double NiceStep(double range, int parts) {
  const double raw = std::max(range, 1.0) / parts;
  const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
  const double n = raw / magnitude;
  return (n <= 1 ? 1 : n <= 2 ? 2 : n <= 5 ? 5 : 10) * magnitude;
}

}  // namespace

// ---- The list: a view over the record, drawn row by row on demand ----

class RecordListModel : public QAbstractListModel {
 public:
  RecordListModel(const WarRecord& record, QObject* parent) : QAbstractListModel(parent), record_(record) {}

  int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : shown_; }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid() || index.row() >= shown_) return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
      return ToQString(RecordLine(record_.Entry(static_cast<std::size_t>(index.row()))));
    }
    return {};
  }
  // The record has grown (or been cleared): the view learns of it.
  void Sync() {
    const int size = static_cast<int>(std::min<std::size_t>(record_.Size(), INT_MAX));
    if (size < shown_) {
      beginResetModel();
      shown_ = size;
      endResetModel();
    } else if (size > shown_) {
      beginInsertRows({}, shown_, size - 1);
      shown_ = size;
      endInsertRows();
    }
  }

 private:
  const WarRecord& record_;
  int shown_ = 0;
};

class RecordDelegate : public QStyledItemDelegate {
 public:
  RecordDelegate(const WarRecord& record, QObject* parent) : QStyledItemDelegate(parent), record_(record) {}

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
    return {200, option.fontMetrics.height() + 6};
  }

  void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const RecordEntry entry = record_.Entry(static_cast<std::size_t>(index.row()));
    p->save();
    p->fillRect(option.rect, index.row() % 2 ? kStripe : kPaper);
    QFont bold = option.font;
    bold.setBold(true);
    const QFontMetrics plain(option.font), strong(bold);
    QRect r = option.rect.adjusted(6, 0, -6, 0);

    p->setFont(option.font);
    p->setPen(kFaint);
    const int turnWidth = plain.horizontalAdvance(QStringLiteral("Turn 00000"));
    p->drawText(r, Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Turn %1").arg(entry.turn));
    r.setLeft(r.left() + turnWidth);

    const QString text = ToQString(entry.text);
    if (entry.faction == kGameLine) {
      p->setFont(bold);
      p->setPen(kGameLineInk);
      p->drawText(r, Qt::AlignVCenter | Qt::AlignLeft, strong.elidedText(text, Qt::ElideRight, r.width()));
    } else {
      const QColor color = kFactionColors[entry.faction];
      p->setRenderHint(QPainter::Antialiasing);
      p->setPen(Qt::NoPen);
      p->setBrush(color);
      p->drawRoundedRect(QRectF(r.left(), r.top() + 3, 4, r.height() - 6), 2, 2);
      r.setLeft(r.left() + 9);
      p->setFont(bold);
      p->setPen(color.darker(125));
      p->drawText(r, Qt::AlignVCenter | Qt::AlignLeft, FactionLabel(entry.faction, entry.player));
      r.setLeft(r.left() + strong.horizontalAdvance(QStringLiteral("ミオツ<6P>")) + 6);
      p->setFont(option.font);
      p->setPen(kInk);
      p->drawText(r, Qt::AlignVCenter | Qt::AlignLeft, plain.elidedText(text, Qt::ElideRight, r.width()));
    }
    p->restore();
  }

 private:
  const WarRecord& record_;
};

// ---- The chart ----

WarChart::WarChart(const WarRecord& record, QWidget* parent) : QWidget(parent), record_(record) {
  setMinimumHeight(180);
  setFocusPolicy(Qt::NoFocus);
}

void WarChart::SetKind(Kind kind) {
  kind_ = kind;
  update();
}

QRect WarChart::PlotRect() const { return rect().adjusted(46, 28, -14, -26); }

// ---- The chart's parts ----

namespace {

// Turns across, districts (0..6) or soldiers up, mapped to the plot's pixels.
struct ChartScale {
  QRectF plot;
  WarChart::Kind kind;
  int firstTurn;
  int lastTurn;
  double top;
  double yStep;

  double X(double turn) const {
    return plot.left() + (turn - firstTurn) / (lastTurn - firstTurn) * plot.width();
  }
  double Y(double v) const { return plot.bottom() - v / top * plot.height(); }
  double Value(const TurnSample& s, int f) const {
    return kind == WarChart::Districts ? static_cast<double>(s.districts[f])
                                       : std::max(0.0, static_cast<double>(s.soldiers[f]));
  }
};

ChartScale MakeScale(const QRectF& plot, const std::vector<TurnSample>& samples, WarChart::Kind kind) {
  ChartScale scale{plot, kind, 1, 1, kDistrictCount, 1};
  scale.firstTurn = samples.empty() ? 1 : samples.front().turn;
  scale.lastTurn =
      samples.empty() ? scale.firstTurn + 10 : std::max<int>(samples.back().turn, scale.firstTurn + 1);
  if (kind == WarChart::Soldiers) {
    double most = 0;
    for (const TurnSample& s : samples) {
      for (int f = 0; f < kFactionCount; ++f) most = std::max(most, scale.Value(s, f));
    }
    scale.yStep = NiceStep(most, 4);
    scale.top = std::max(1.0, std::ceil(most / scale.yStep)) * scale.yStep;
  }
  return scale;
}

// The factions of the game, in their colours, along the top.
void DrawLegend(QPainter& p, const WarRecord& record) {
  const QFontMetrics fm = p.fontMetrics();
  qreal x = 10;
  for (int f = 0; f < kFactionCount; ++f) {
    if (!record.Seen(f)) continue;
    p.setPen(QPen(kFactionColors[f], 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(x, 14), QPointF(x + 14, 14));
    const QString name = FactionLabel(f, record.Players()[f]);
    p.setPen(kInk);
    p.drawText(QPointF(x + 19, 14 + fm.ascent() / 2.0 - 1), name);
    x += 19 + fm.horizontalAdvance(name) + 12;
  }
}

// Grid and axes with their labels, in the small font the rest of the chart keeps.
void DrawAxes(QPainter& p, const ChartScale& scale) {
  const QRectF& plot = scale.plot;
  p.setFont(LayoutFont(7.5));
  const QFontMetrics small = p.fontMetrics();
  for (double v = 0; v <= scale.top + 0.5; v += scale.yStep) {
    p.setPen(QPen(v == 0 ? kFaint : kGrid, 1));
    p.drawLine(QPointF(plot.left(), std::round(scale.Y(v)) + 0.5),
               QPointF(plot.right(), std::round(scale.Y(v)) + 0.5));
    p.setPen(kFaint);
    p.drawText(QRectF(0, scale.Y(v) - 8, plot.left() - 6, 16), Qt::AlignRight | Qt::AlignVCenter,
               QString::number(static_cast<long long>(v)));
  }
  const double xStep = std::max(1.0, NiceStep(scale.lastTurn - scale.firstTurn, 5));
  for (double t = std::ceil(scale.firstTurn / xStep) * xStep; t <= scale.lastTurn; t += xStep) {
    const double at = std::round(scale.X(t)) + 0.5;
    p.setPen(QPen(kGrid, 1));
    p.drawLine(QPointF(at, plot.top()), QPointF(at, plot.bottom()));
    p.setPen(kFaint);
    p.drawLine(QPointF(at, plot.bottom()), QPointF(at, plot.bottom() + 3));
    p.drawText(QRectF(at - 30, plot.bottom() + 4, 60, small.height()), Qt::AlignHCenter | Qt::AlignTop,
               QString::number(static_cast<long long>(t)));
  }
  p.setPen(QPen(kFaint, 1));
  p.drawLine(QPointF(plot.left() + 0.5, plot.top()), QPointF(plot.left() + 0.5, plot.bottom()));
  p.drawText(QRectF(0, plot.bottom() + 4, plot.left() - 6, small.height()), Qt::AlignRight | Qt::AlignTop,
             QStringLiteral("ターン"));
}

// One faction's line. Held districts step from turn to turn, each faction a
// little apart so that equal counts stay visible side by side. A dense chart
// gives each pixel column its lowest, highest and last value.
QPolygonF FactionLine(const ChartScale& scale, const std::vector<TurnSample>& samples, int f, bool dense) {
  const double lift = scale.kind == WarChart::Districts ? (2.5 - f) * 2.0 : 0.0;
  QPolygonF line;
  int column = INT_MIN;
  double low = 0, high = 0, last = 0;
  const auto flush = [&] {
    if (column != INT_MIN)
      line << QPointF(column, scale.Y(low) + lift) << QPointF(column, scale.Y(high) + lift);
    if (column != INT_MIN) line << QPointF(column, scale.Y(last) + lift);
  };
  for (const TurnSample& s : samples) {
    const double v = scale.Value(s, f), at = scale.X(s.turn);
    if (!dense) {
      if (scale.kind == WarChart::Districts && !line.isEmpty()) line << QPointF(at, line.back().y());
      line << QPointF(at, scale.Y(v) + lift);
    } else if (static_cast<int>(at) != column) {
      flush();
      column = static_cast<int>(at);
      low = high = last = v;
    } else {
      low = std::min(low, v);
      high = std::max(high, v);
      last = v;
    }
  }
  flush();
  return line;
}

}  // namespace

void WarChart::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), kPaper);
  p.setRenderHint(QPainter::Antialiasing);
  p.setFont(LayoutFont(8));
  const std::vector<TurnSample>& samples = record_.Samples();
  DrawLegend(p, record_);
  const ChartScale scale = MakeScale(PlotRect(), samples, kind_);
  DrawAxes(p, scale);
  if (samples.empty()) {
    p.drawText(scale.plot, Qt::AlignCenter, QStringLiteral("戦闘の記録はまだありません"));
    return;
  }
  // With more turns than pixels, each pixel column shows its lowest and
  // highest value.
  const bool dense = samples.size() > 2 * static_cast<std::size_t>(std::max(1.0, scale.plot.width()));
  p.setClipRect(scale.plot.adjusted(-4, -8, 4, 7));
  for (int f = 0; f < kFactionCount; ++f) {
    if (!record_.Seen(f)) continue;
    QPolygonF line = FactionLine(scale, samples, f, dense);
    p.setPen(QPen(kFactionColors[f], 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    if (line.size() == 1) line << line.front() + QPointF(0.01, 0);
    p.drawPolyline(line);
  }
}

// ---- The window ----

WarRecordWindow::WarRecordWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setAttribute(Qt::WA_ShowWithoutActivating);
  setWindowTitle(QStringLiteral("戦況記録"));
  setFont(LayoutFont(9));
  QPalette colors = palette();
  colors.setColor(QPalette::Window, QColor(0xF1, 0xEA, 0xDD));
  setPalette(colors);

  model_ = new RecordListModel(record_, this);
  list_ = new QListView(this);
  list_->setModel(model_);
  list_->setItemDelegate(new RecordDelegate(record_, list_));
  list_->setUniformItemSizes(true);
  list_->setSelectionMode(QAbstractItemView::NoSelection);
  list_->setFocusPolicy(Qt::NoFocus);  // the keys stay with the window (L closes it)
  list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  QScrollBar* bar = list_->verticalScrollBar();
  connect(bar, &QScrollBar::valueChanged, this,
          [this, bar](int value) { following_ = value >= bar->maximum(); });
  connect(bar, &QScrollBar::rangeChanged, this, [this, bar](int, int maximum) {
    if (following_) bar->setValue(maximum);
  });

  tabs_ = new QTabBar(this);
  tabs_->addTab(QStringLiteral("領地"));
  tabs_->addTab(QStringLiteral("兵士"));
  tabs_->setTabToolTip(0, QStringLiteral("各勢力の持つ地区の数"));
  tabs_->setTabToolTip(1, QStringLiteral("各勢力の兵士の合計"));
  tabs_->setFocusPolicy(Qt::NoFocus);
  tabs_->setDrawBase(false);
  tabs_->setExpanding(false);
  chart_ = new WarChart(record_, this);
  connect(tabs_, &QTabBar::currentChanged, this,
          [this](int index) { chart_->SetKind(index == 1 ? WarChart::Soldiers : WarChart::Districts); });

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->setSpacing(4);
  layout->addWidget(list_, 3);
  layout->addWidget(tabs_);
  layout->addWidget(chart_, 2);
  resize(460, 560);
}

WarRecordWindow::~WarRecordWindow() {
  // The views read the record: they go before it does.
  delete list_;
  delete chart_;
  delete model_;
}

void WarRecordWindow::Changed(std::size_t entriesBefore) {
  if (record_.Size() != entriesBefore) model_->Sync();
  chart_->update();
}

void WarRecordWindow::RecordAction(const Board& board, const ActionReport& report) {
  const std::size_t before = record_.Size();
  record_.RecordAction(board, report);
  Changed(before);
}

void WarRecordWindow::RecordGameLine(const Board& board, GameLine line) {
  const std::size_t before = record_.Size();
  record_.RecordGameLine(board, line);
  Changed(before);
}

void WarRecordWindow::RecordNotice(const Board& board, const Notice& notice) {
  const std::size_t before = record_.Size();
  record_.RecordNotice(board, notice);
  Changed(before);
}

void WarRecordWindow::RecordTurn(const Board& board) {
  const std::size_t before = record_.Size();
  record_.RecordTurn(board);
  Changed(before);
}

void WarRecordWindow::RestoreBeside(const std::filesystem::path& saveFile, const SaveRecord& save) {
  const std::size_t before = record_.Size();
  if (ReadWarRecordFile(saveFile, save, record_) != RecordFileState::Restored) {
    record_.RecordNotKept(save.TurnNumber);
  }
  Changed(before);
}

bool WarRecordWindow::KeepBeside(const std::filesystem::path& saveFile, const SaveRecord& save,
                                 std::string* error) const {
  return WriteWarRecordFile(saveFile, record_, save, error);
}

void WarRecordWindow::Toggle(QWidget* mainWindow) {
  if (isVisible()) {
    hide();
  } else {
    ShowBeside(mainWindow);
  }
}

void WarRecordWindow::ShowBeside(QWidget* mainWindow) {
  mainWindow_ = mainWindow;
  if (mainWindow != nullptr && !isVisible()) {
    // To the right of the game's window, or to its left if the screen ends there.
    const QRect game = mainWindow->frameGeometry();
    QPoint at = game.topRight() + QPoint(8, 0);
    if (const QScreen* screen = mainWindow->screen()) {
      const QRect room = screen->availableGeometry();
      if (at.x() + width() > room.right()) at.setX(std::max(room.left(), game.left() - 8 - width()));
      at.setY(std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() - height())));
    }
    move(at);
  }
  show();
}

void WarRecordWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_L || event->key() == Qt::Key_Escape) {
    hide();
    if (mainWindow_ != nullptr && mainWindow_->isVisible()) mainWindow_->activateWindow();
    return;
  }
  QWidget::keyPressEvent(event);
}

void WarRecordWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (following_) list_->scrollToBottom();
}

}  // namespace yuunagi
