// The screens' game logic over the window: the title and file screens,
// faction selection, the action and weapon menus, and the keys. Made right
// after the window they work on, which keeps them and lets them go first.
#pragma once

#include <QObject>

#include <memory>

namespace yuunagi {

class MainForm;
class TitleScreen;
class FactionSelection;
class ActionMenu;
class WeaponMenu;
class KeyboardPlay;

class Screens : public QObject {
 public:
  explicit Screens(MainForm& form);
  ~Screens() override;

 private:
  std::unique_ptr<TitleScreen> title_;
  std::unique_ptr<FactionSelection> factions_;
  std::unique_ptr<ActionMenu> actions_;
  std::unique_ptr<WeaponMenu> weapons_;
  std::unique_ptr<KeyboardPlay> keyboard_;
};

}  // namespace yuunagi
