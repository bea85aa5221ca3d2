// 戦況記録: a second window beside the game's, opened and closed with the key
// L. It lists every report of the game so far, each with its turn and the
// faction that made it, and under the list draws the game as a chart: the
// districts each faction held, or its soldiers, turn by turn.
#pragma once

#include <QColor>
#include <QPointer>
#include <QWidget>

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/WarRecord.h"
#include "files/Records.h"

class QListView;
class QTabBar;

namespace yuunagi {

class RecordListModel;

// The factions' colours, from the hues of their emblems.
extern const std::array<QColor, kFactionCount> kFactionColors;

// The chart under the list: one line per faction, x = turn.
class WarChart : public QWidget {
 public:
  enum Kind { Districts = 0, Soldiers = 1 };

  WarChart(const WarRecord& record, QWidget* parent = nullptr);
  void SetKind(Kind kind);
  Kind CurrentKind() const { return kind_; }
  // Where the lines are drawn (inside the axes), in widget pixels.
  QRect PlotRect() const;
  QSize sizeHint() const override { return {440, 230}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const WarRecord& record_;
  Kind kind_ = Districts;
};

class WarRecordWindow : public QWidget {
  Q_OBJECT
 public:
  explicit WarRecordWindow(QWidget* parent = nullptr);
  ~WarRecordWindow() override;

  // ---- The host's news, passed on as it comes ----
  // An action's report (Host::ReportAction).
  void RecordAction(const Board& board, const ActionReport& report);
  // A line of the game's own (Host::ShowGameLine).
  void RecordGameLine(const Board& board, GameLine line);
  // A message box (Host::ShowNotice).
  void RecordNotice(const Board& board, const Notice& notice);
  // A new turn (Host::ShowTurnNumber).
  void RecordTurn(const Board& board);

  // ---- The record kept beside a save ----
  // Before a game continues from `saveFile`: its record from turn 1, or,
  // when that file is missing or damaged, a line saying the record starts here.
  void RestoreBeside(const std::filesystem::path& saveFile, const SaveRecord& save);
  // After `save` was written to `saveFile`: the record beside it. False (with
  // `error`) when it could not be written; the save itself stands.
  bool KeepBeside(const std::filesystem::path& saveFile, const SaveRecord& save, std::string* error) const;

  // The key L: shows the window beside `mainWindow`, leaving the keyboard
  // with it, or hides the window if it is shown.
  void Toggle(QWidget* mainWindow);
  void ShowBeside(QWidget* mainWindow);

  const WarRecord& Record() const { return record_; }
  QListView* List() const { return list_; }
  WarChart* Chart() const { return chart_; }
  QTabBar* ChartTabs() const { return tabs_; }

 protected:
  // L (or Escape) pressed here hides the window and hands the keyboard back.
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void Changed(std::size_t entriesBefore);

  WarRecord record_;
  RecordListModel* model_ = nullptr;
  QListView* list_ = nullptr;
  QTabBar* tabs_ = nullptr;
  WarChart* chart_ = nullptr;
  QPointer<QWidget> mainWindow_;
  bool following_ = true;  // the list keeps the newest line in view
};

}  // namespace yuunagi
