#include "core/PlayerSettings.h"

#include <QSettings>

#include <algorithm>

namespace yuunagi {
namespace {

QSettings Store() { return QSettings(QStringLiteral("yuunagi"), QStringLiteral("yuunagi")); }

}  // namespace

PlayerSettings PlayerSettings::Load() {
  const QSettings store = Store();
  PlayerSettings settings;
  const double zoom = store.value(QStringLiteral("window/zoom"), 1.0).toDouble();
  // Anything but one of the steps (a hand-edited file) is the designed size.
  if (std::find(std::begin(kZoomSteps), std::end(kZoomSteps), zoom) != std::end(kZoomSteps)) {
    settings.zoom = zoom;
  }
  settings.musicOn = store.value(QStringLiteral("music/on"), true).toBool();
  settings.strongComputer =
      store.value(QStringLiteral("computer/level"), QStringLiteral("normal")).toString() == "strong";
  return settings;
}

void PlayerSettings::Save() const {
  QSettings store = Store();
  store.setValue(QStringLiteral("window/zoom"), zoom);
  store.setValue(QStringLiteral("music/on"), musicOn);
  store.setValue(QStringLiteral("computer/level"),
                 strongComputer ? QStringLiteral("strong") : QStringLiteral("normal"));
}

}  // namespace yuunagi
