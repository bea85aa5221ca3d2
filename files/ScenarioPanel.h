// The scenario list of a new game and its 決定 above it, on the right of
// the window (two controls of the window, not a panel of their own).
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QListWidget;
class QPixmap;
class QWidget;

namespace yuunagi {

class GraphicButton;

class ScenarioPanel : public QObject {
  Q_OBJECT
 public:
  explicit ScenarioPanel(QWidget* window);

  void Clear();
  int Count() const;
  // An entry shown under `name`, read from the file named by the bytes `fileName`.
  void Add(const QString& name, const QByteArray& fileName);
  void Show();
  void Hide();
  // Selects the first entry (scenarioSelected follows).
  void SelectFirst();
  void FocusList();
  // The entries as listed: "*" marks the current one, "|" parts them.
  QString Shown() const;
  void DressButton(const QPixmap& face);
  // The keys of the list and of 決定 go through `filter` first.
  void WatchKeys(QObject* filter);
  bool IsList(const QObject* watched) const;
  // Return in the list: 決定, when it is shown. False when it is not.
  bool PressConfirm();

 signals:
  // Another entry became the current one.
  void scenarioSelected(const QByteArray& fileName, const QString& name);
  // 決定, only while it is shown.
  void scenarioChosen();

 private:
  GraphicButton* confirm_ = nullptr;
  QListWidget* list_ = nullptr;
};

}  // namespace yuunagi
