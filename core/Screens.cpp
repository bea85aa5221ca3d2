#include "core/Screens.h"

#include "commands/ActionMenu.h"
#include "commands/FactionSelection.h"
#include "commands/KeyboardPlay.h"
#include "commands/WeaponMenu.h"
#include "files/TitleScreen.h"

namespace yuunagi {

// Made in the order the game always made them: it is the order their
// handlers and key filters are connected in.
Screens::Screens(MainForm& form)
    : title_(std::make_unique<TitleScreen>(form)),
      factions_(std::make_unique<FactionSelection>(form, *title_)),
      actions_(std::make_unique<ActionMenu>(form)),
      weapons_(std::make_unique<WeaponMenu>(form)),
      keyboard_(std::make_unique<KeyboardPlay>(form, *weapons_)) {}

Screens::~Screens() = default;

}  // namespace yuunagi
