// The words of the engine's reports, pinned: the message line after every
// action, the game's own line and the message boxes.
#include <gtest/gtest.h>

#include "rules/Reports.h"

namespace yuunagi::testing {
namespace {

// トコナ's action; an attack on ソラノ with weapon `level`.
ActionReport Of(Action action, i16 amount = 0) {
  return {.amount = amount, .action = action, .moverFaction = 3};
}
ActionReport Blow(int level, i16 damage, bool captured = false) {
  return {.damage = damage,
          .moverFaction = 3,
          .weaponLevel = std::int8_t(level),
          .target = 1,
          .targetFaction = 1,
          .captured = captured};
}

TEST(ReportText, EachActionAndEveryMessageBoxReadsAsItAlwaysHas) {
  const std::pair<ActionReport, std::string_view> cases[] = {
      {Blow(1, 7), "ソラノを殴った。7のダメージ!!"},
      {Blow(2, 10), "ソラノを斬りつけた。10のダメージ!!"},
      {Blow(3, 17), "ソラノに銃を乱射した。17のダメージ!!"},
      {Blow(4, 35), "ソラノにミサイルをはなった。35のダメージ!!"},
      {Blow(5, 70, true), "ソラノに核ミサイルをはなった。70のダメージ!!ソラノを占領した!!"},
      {Blow(1, -3, true), "ソラノを殴った。-3のダメージ!!ソラノを占領した!!"},
      {Of(Action::Collect, 9), "民から9の金を集金した。"},
      {Of(Action::Develop, 12), "開発が12あがった。"},
      {Of(Action::Hire, -5), "兵士を-5雇った。"},
      {Of(Action::Train, 1000), "兵士の強さが1000あがった。"},
      {Of(Action::DevelopWeapon), "新しい武器を開発した。"},
  };
  for (const auto& [report, text] : cases) {
    EXPECT_EQ(ActionText(report), text);
    EXPECT_EQ(MessageLineText(report), "トコナの戦略: " + std::string(text));
  }
  EXPECT_EQ(GameLineText(GameLine::BattleBegins), "戦闘開始!!");
  EXPECT_EQ(NoticeText(Notice{NoticeKind::FactionDestroyed, 5}), "ミオツは滅亡した。");
  EXPECT_EQ(NoticeText(Notice{NoticeKind::LastHumanFallen, 0}), "ヒノデは滅亡した。");
  EXPECT_EQ(NoticeText(Notice{NoticeKind::TownTaken, 4}), "セリはユウナギ町を制圧した。");
}

}  // namespace
}  // namespace yuunagi::testing
