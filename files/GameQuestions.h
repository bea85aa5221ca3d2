// The title screen's questions before a game is lost: going on with the
// game the autosave kept, and a new game over a slot that holds one.
#pragma once

namespace yuunagi {

class MainForm;

// At start-up, when the autosave holds an unfinished game: asks whether to go
// on with it, and on はい continues it as つづきから does. True when it did.
bool OfferAutosavedGame(MainForm& form);

// はじめから on a slot that holds a game: asks, naming that game, before the
// slot is given to a new one. True when the slot may be used.
bool ConfirmNewGameInSlot(MainForm& form);

}  // namespace yuunagi
