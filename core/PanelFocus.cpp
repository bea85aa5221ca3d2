#include "core/PanelFocus.h"

#include <QAbstractButton>

namespace yuunagi {

void HidePanel(QWidget& panel) {
  QWidget* window = panel.window();
  QWidget* focused = window->focusWidget();
  // A hidden button keeps no focus, nor passes it to another button: no key
  // can press a spent command again.
  if (focused != nullptr && (focused == &panel || panel.isAncestorOf(focused)))
    window->setFocus(Qt::OtherFocusReason);
  panel.hide();
}

void FocusFirstButton(QWidget& panel) {
  QAbstractButton* first = nullptr;
  for (QAbstractButton* b : panel.findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly)) {
    if (!b->isVisible() || !b->isEnabled()) continue;
    if (first == nullptr || b->y() < first->y() || (b->y() == first->y() && b->x() < first->x())) first = b;
  }
  if (first != nullptr) first->setFocus(Qt::OtherFocusReason);
}

}  // namespace yuunagi
