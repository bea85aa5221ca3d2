#include "commands/ActionPanel.h"

#include <QLabel>

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/GameState.h"
#include "core/Layout.h"

namespace yuunagi {

namespace {

// The menu's buttons from the top, and what each asks for: an action of the
// engine, or (no action) saving the game.
struct MenuButton {
  std::string_view caption;
  const char* name;
  std::optional<Action> action;
};
constexpr std::array<MenuButton, 7> kMenuButtons = {{{"攻撃", "attack", Action::Attack},
                                                     {"集金", "collect", Action::Collect},
                                                     {"町開発", "develop", Action::Develop},
                                                     {"徴兵", "hire", Action::Hire},
                                                     {"訓練", "train", Action::Train},
                                                     {"武器開発", "developWeapon", Action::DevelopWeapon},
                                                     {"セーブ", "save", std::nullopt}}};

}  // namespace

ActionPanel::ActionPanel(QWidget* parent) : PictureBox(parent) {
  PlacePanel(this, QStringLiteral("actionMenu"), Twips(5640, 2160, 1935, 3015), false);
  heading_ = MakeLabel(this, QStringLiteral("actionMenu.heading"), Twips(360, 120, 1080, 180), "～行動選択～",
                       LayoutFont(kDefaultPoints));
  for (int k = 0; k < static_cast<int>(kMenuButtons.size()); ++k) {
    const MenuButton& entry = kMenuButtons[k];
    GraphicButton* button = MakeButton(this, QStringLiteral("actionMenu.") + QLatin1String(entry.name),
                                       Twips(240, 360 + 360 * k, 1455, 375), entry.caption);
    connect(button, &QPushButton::clicked, this, [this, &entry] {
      if (isHidden()) return;  // a hidden menu never acts
      if (entry.action) {
        emit actionChosen(*entry.action);
      } else {
        emit saveChosen();
      }
    });
    connect(button, &GraphicButton::Hovered, this, [this, &entry] {
      if (entry.action) {
        emit actionPointed(*entry.action);
      } else {
        emit savePointed();
      }
    });
  }
}

void ActionPanel::Open(int player) {
  SetCaption(heading_, "～<" + std::to_string(player) + "P>の戦略～");
  show();
}

QString ActionPanel::Heading() const { return heading_->text(); }

}  // namespace yuunagi
