#include "core/BoxKeyGuard.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace yuunagi {

BoxKeyGuard::BoxKeyGuard(QWidget& box) : box_(box) {
  shown_.start();
  qApp->installEventFilter(this);
}

BoxKeyGuard::~BoxKeyGuard() { qApp->removeEventFilter(this); }

bool BoxKeyGuard::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
    return false;
  const auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr || widget->window() != &box_) return false;
  auto& key = static_cast<QKeyEvent&>(*event);
  // A release answers only for a key pressed while the box took keys.
  if (type == QEvent::KeyRelease) {
    if (!pressed_.contains(key.key())) return true;
    if (!key.isAutoRepeat()) pressed_.remove(key.key());
    return false;
  }
  // A press counts once the box has been seen; a repeat only of a key pressed since.
  const bool fresh =
      shown_.elapsed() >= kBoxKeyDelayMs && (!key.isAutoRepeat() || pressed_.contains(key.key()));
  if (fresh) {
    if (type == QEvent::KeyPress) pressed_.insert(key.key());
    return false;
  }
  // Taken, so that no shortcut of the box acts on it either; then dropped.
  if (type == QEvent::ShortcutOverride) key.accept();
  return true;
}

}  // namespace yuunagi
