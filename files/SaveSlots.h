// The save slots on the title screen: their captions, and continuing the
// game saved in the chosen slot.
#pragma once

namespace yuunagi {

class MainForm;

// Reads the four slots afresh into the captions of the slot panel, shows it
// and selects the slot chosen last.
void ShowSaveSlots(MainForm& form);

// Continues the game in the chosen slot: restores it and starts it with the
// saved district's move. An empty or unplayable slot is refused with a
// message box and the slot panel stays; a save in a file longer than its
// record names its size first. True when the game started.
bool ContinueSavedGame(MainForm& form);

}  // namespace yuunagi
