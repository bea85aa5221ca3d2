#include "core/SettingsWindow.h"

#include <QButtonGroup>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/MainForm.h"
#include "core/PlayerSettings.h"

namespace yuunagi {

SettingsWindow::SettingsWindow(MainForm& form) : QWidget(&form, Qt::Window), form_(form) {
  setWindowTitle(QStringLiteral("設定"));
  setFont(form.ZoomedFont(10));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("コンピュータの強さ"), this));
  Normal = new QRadioButton(QStringLiteral("普通"), this);
  Strong = new QRadioButton(QStringLiteral("強い（先を読んで戦う）"), this);
  auto* group = new QButtonGroup(this);
  group->addButton(Normal);
  group->addButton(Strong);
  layout->addWidget(Normal);
  layout->addWidget(Strong);
  (form.StrongComputer() ? Strong : Normal)->setChecked(true);
  connect(Normal, &QRadioButton::toggled, this, [this](bool on) {
    if (on) Choose(false);
  });
  connect(Strong, &QRadioButton::toggled, this, [this](bool on) {
    if (on) Choose(true);
  });
}

void SettingsWindow::Choose(bool strong) {
  form_.SetStrongComputer(strong);
  PlayerSettings settings = PlayerSettings::Load();
  settings.strongComputer = strong;
  settings.Save();
}

}  // namespace yuunagi
