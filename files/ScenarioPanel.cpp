#include "files/ScenarioPanel.h"

#include <QListWidget>
#include <QStringList>

#include "core/Layout.h"
#include "core/PanelFocus.h"
#include "media/Pictures.h"

namespace yuunagi {

namespace {
// Each entry of the list keeps the bytes of its file's name here.
constexpr int kFileNameRole = Qt::UserRole;
}  // namespace

ScenarioPanel::ScenarioPanel(QWidget* window) : QObject(window) {
  confirm_ =
      MakeButton(window, QStringLiteral("scenarioList.confirm"), Twips(5640, 2280, 1935, 375), "決定", false);
  list_ = new QListWidget(window);
  list_->setObjectName(QStringLiteral("scenarioList"));
  Place(list_, Twips(5640, 2640, 1935, 2580));
  list_->setSortingEnabled(false);
  list_->hide();
  connect(confirm_, &QPushButton::clicked, this, [this] {
    if (!confirm_->isHidden()) emit scenarioChosen();  // a hidden button never acts
  });
  connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row < 0) return;
    const QListWidgetItem* item = list_->item(row);
    emit scenarioSelected(item->data(kFileNameRole).toByteArray(), item->text());
  });
}

void ScenarioPanel::Clear() { list_->clear(); }

int ScenarioPanel::Count() const { return list_->count(); }

void ScenarioPanel::Add(const QString& name, const QByteArray& fileName) {
  auto* item = new QListWidgetItem(name);
  item->setData(kFileNameRole, fileName);
  list_->addItem(item);
}

void ScenarioPanel::Show() {
  confirm_->show();
  list_->show();
}

void ScenarioPanel::Hide() {
  HidePanel(*confirm_);
  HidePanel(*list_);
}

void ScenarioPanel::SelectFirst() { list_->setCurrentRow(0); }

void ScenarioPanel::FocusList() { list_->setFocus(Qt::OtherFocusReason); }

QString ScenarioPanel::Shown() const {
  QStringList shown;
  for (int row = 0; row < list_->count(); ++row)
    shown << (row == list_->currentRow() ? "*" : "") + list_->item(row)->text();
  return shown.join('|');
}

void ScenarioPanel::DressButton(const QPixmap& face) { confirm_->SetPicture(face); }

void ScenarioPanel::WatchKeys(QObject* filter) {
  confirm_->installEventFilter(filter);
  list_->installEventFilter(filter);
}

bool ScenarioPanel::IsList(const QObject* watched) const { return watched == list_; }

bool ScenarioPanel::PressConfirm() {
  if (!confirm_->isVisible()) return false;
  confirm_->click();
  return true;
}

}  // namespace yuunagi
