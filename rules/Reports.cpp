#include "rules/Reports.h"

namespace yuunagi {
namespace {

constexpr std::string_view kAttackVerbs[kWeaponLevels] = {
    "を殴った。", "を斬りつけた。", "に銃を乱射した。", "にミサイルをはなった。", "に核ミサイルをはなった。"};

void AppendAttack(std::string& text, const ActionReport& r) {
  const std::string_view victim = FactionNames[r.targetFaction];
  text.append(victim).append(kAttackVerbs[r.weaponLevel - 1]);
  text.append(std::to_string(r.damage)).append("のダメージ!!");
  if (r.captured) text.append(victim).append("を占領した!!");
}

// Collecting names the gold; develop, hire and train the amount asked for.
void AppendWithAmount(std::string& text, std::string_view before, i16 amount, std::string_view after) {
  text.append(before).append(std::to_string(amount)).append(after);
}

}  // namespace

std::string ActionText(const ActionReport& report) {
  std::string text;
  switch (report.action) {
    case Action::Attack: AppendAttack(text, report); break;
    case Action::Collect: AppendWithAmount(text, "民から", report.amount, "の金を集金した。"); break;
    case Action::Develop: AppendWithAmount(text, "開発が", report.amount, "あがった。"); break;
    case Action::Hire: AppendWithAmount(text, "兵士を", report.amount, "雇った。"); break;
    case Action::Train: AppendWithAmount(text, "兵士の強さが", report.amount, "あがった。"); break;
    case Action::DevelopWeapon: text = "新しい武器を開発した。"; break;
  }
  return text;
}

std::string MessageLineText(const ActionReport& report) {
  std::string line(FactionNames[report.moverFaction]);
  return line.append("の戦略: ").append(ActionText(report));
}

std::string_view GameLineText(GameLine line) {
  switch (line) {
    case GameLine::BattleBegins: return "戦闘開始!!";
    case GameLine::RecordNotKept: return "戦況記録はこの手から始まります（前の記録を読めませんでした）。";
  }
  return {};
}

std::string NoticeText(const Notice& notice) {
  std::string text(FactionNames[notice.faction]);
  return text.append(notice.kind == NoticeKind::TownTaken ? "はユウナギ町を制圧した。" : "は滅亡した。");
}

}  // namespace yuunagi
