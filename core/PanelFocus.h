// The keyboard focus as panels open and close: a hidden panel keeps no
// focus, and an opened one gives it to its first button.
#pragma once

class QWidget;

namespace yuunagi {

// Hides a panel (or a button) and takes the keyboard focus away from it.
void HidePanel(QWidget& panel);
// Gives the keyboard focus to the first button a player can reach on `panel`.
void FocusFirstButton(QWidget& panel);

}  // namespace yuunagi
