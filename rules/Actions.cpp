// What each action does to the board: costs, damage, capture, destruction and
// victory, and the report the players read on the message line.
#include <charconv>
#include <cmath>
#include <string>

#include "core/Engine.h"
#include "core/Int16.h"

namespace yuunagi {
namespace {

constexpr std::string_view kAttackVerbs[kWeaponLevels] = {
    "を殴った。", "を斬りつけた。", "に銃を乱射した。", "にミサイルをはなった。", "に核ミサイルをはなった。"};

void AppendNumber(std::string& out, int value) {
  char buffer[16];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, end);
}

bool ValidIndex(int i) { return i >= 0 && i < kDistrictCount; }

}  // namespace

i16 Engine::Damage(i16 strength, int weaponLevel) {
  return Saturate16(
      static_cast<long long>(std::floor(static_cast<double>(strength) * DamageFactor[weaponLevel - 1])));
}

bool Engine::ExecuteAction(i16 action, i16 value, i16 target) {
  if (finished_ || !ValidIndex(data_.CurrentDistrict)) return false;
  auto& districts = data_.Districts;
  const int current = data_.CurrentDistrict;
  DistrictRecord& mover = districts[current];
  if (!ValidIndex(mover.Owner)) return false;

  switch (action) {
    case Attack:
      if (value < 1 || value > mover.Weapon || value > kWeaponLevels) return false;
      if (!ValidIndex(target) || !ValidIndex(districts[target].Owner)) return false;
      if (districts[target].Owner == mover.Owner) return false;
      break;
    case Develop:
    case Hire:
    case Train:
      if (value < 1) return false;
      break;
    case DevelopWeapon:
      if (mover.Weapon < 0 || mover.Weapon >= kWeaponLimit) return false;
      break;
    case Collect: break;
    default: return false;
  }

  ++moves_;
  const int moverFaction = mover.Owner;
  if (IsHumanFaction(moverFaction)) data_.GameState = State::AwaitingClick;
  report_.clear();
  int destroyedFaction = -1;

  switch (action) {
    case Attack: {
      DistrictRecord& victim = districts[target];
      mover.Money = Sub16(mover.Money, AttackCost[value - 1]);
      report_.append(FactionNames[victim.Owner]).append(kAttackVerbs[value - 1]);
      const i16 damage = Damage(mover.Strength, value);
      victim.Soldiers = Sub16(victim.Soldiers, damage);
      if (random_.Next() <= 0.5) mover.Strength = Add16(mover.Strength, 1);
      AppendNumber(report_, damage);
      report_.append("のダメージ!!");
      if (victim.Soldiers <= 0) {
        const int old = victim.Owner;
        report_.append(FactionNames[old]).append("を占領した!!");
        victim.Owner = mover.Owner;
        // Half the army moves in; an odd soldier is lost (Int rounds down).
        mover.Soldiers =
            static_cast<i16>(mover.Soldiers >= 0 ? mover.Soldiers / 2 : -((-mover.Soldiers + 1) / 2));
        victim.Soldiers = mover.Soldiers;
        host_.DrawDistrictEmblems();
        bool wholeTown = true;
        for (const auto& d : districts) wholeTown = wholeTown && d.Owner == districts[0].Owner;
        if (wholeTown) {
          data_.GameState = State::Victory;
        } else {
          bool survives = false;
          for (const auto& d : districts) survives = survives || d.Owner == old;
          if (!survives) {
            destroyedFaction = old;
            if (IsHumanFaction(old)) data_.PlayerCount = Sub16(data_.PlayerCount, 1);
            data_.GameState = data_.PlayerCount == 0 ? State::LastHumanDestroyed : State::FactionDestroyed;
          }
        }
      }
      host_.RefreshDistrictPanel(target);
      host_.RefreshDistrictPanel(current);
      break;
    }
    case Collect: {
      const i16 gain = Add16(static_cast<long long>(std::floor(mover.Development * random_.Next())), 1);
      mover.Money = Limit16(Add16(mover.Money, gain), kMoneyLimit);
      report_.append("民から");
      AppendNumber(report_, gain);
      report_.append("の金を集金した。");
      host_.RefreshDistrictPanel(current);
      break;
    }
    case Develop: Buy(mover.Development, value, 10, kDevelopmentLimit, "開発が", "あがった。"); break;
    case Hire: Buy(mover.Soldiers, value, 1, kSoldiersLimit, "兵士を", "雇った。"); break;
    case Train: Buy(mover.Strength, value, 10, kStrengthLimit, "兵士の強さが", "あがった。"); break;
    case DevelopWeapon:
      mover.Money = Sub16(mover.Money, WeaponDevelopCost[mover.Weapon]);
      mover.Weapon = Add16(mover.Weapon, 1);
      report_.append("新しい武器を開発した。");
      host_.RefreshDistrictPanel(current);
      break;
  }

  message_.clear();
  message_.append(FactionNames[moverFaction]).append("の戦略: ").append(report_);
  host_.SetMessage(message_);

  switch (data_.GameState) {
    case State::Victory:
      winner_ = districts[0].Owner;
      EndGame(std::string(FactionNames[winner_]) + "はユウナギ町を制圧した。");
      break;
    case State::LastHumanDestroyed:
      EndGame(std::string(FactionNames[destroyedFaction]) + "は滅亡した。");
      break;
    case State::FactionDestroyed:
      if (destroyedFaction < 0) break;  // left over from an earlier action of this move
      host_.Yield();
      if (data_.PlayerCount != kSpectatorPlayerCount) {
        host_.ShowMessageBox(std::string(FactionNames[destroyedFaction]) + "は滅亡した。");
      }
      if (IsHumanFaction(moverFaction)) NextMove();
      break;
    default: break;
  }
  return true;
}

// Develop, hire and train: the full price is paid even when the limit cuts
// the gain, and the report names the amount asked for.
void Engine::Buy(i16& field, i16 amount, int pricePerUnit, i16 limit, std::string_view before,
                 std::string_view after) {
  DistrictRecord& mover = data_.Districts[data_.CurrentDistrict];
  mover.Money = Sub16(mover.Money, Mul16(pricePerUnit, amount));
  field = Limit16(Add16(field, amount), limit);
  report_.append(before);
  AppendNumber(report_, amount);
  report_.append(after);
  host_.RefreshDistrictPanel(data_.CurrentDistrict);
}

void Engine::EndGame(const std::string& message) {
  host_.Yield();
  host_.StopMusic();
  host_.ShowMessageBox(message);
  finished_ = true;
  host_.EndProgram();
}

}  // namespace yuunagi
