#include "RecordJson.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Int16.h"
#include "files/Cp932.h"

namespace yuunagi::data_tool {
namespace {

using Column = std::array<std::int16_t, 6>;

// One field of a record: its key, and how it is read from and written to JSON.
template <typename Record>
struct Field {
  std::string_view key;
  std::function<Json(const Record&)> get;
  std::function<void(Record&, const Json&)> set;
};

std::string Shown(const Json& value) { return value.dump(-1, ' ', false, Json::error_handler_t::replace); }

std::int16_t ToInt16(const Json& value, const std::string& where) {
  if (!value.is_number_integer())
    throw DataError(where + " が " + Shown(value) + " です。整数で書いてください。");
  const bool fits =
      value.is_number_unsigned() ? value.get<std::uint64_t>() <= 32767 : Fits16(value.get<std::int64_t>());
  if (!fits) throw DataError(where + " が " + Shown(value) + " です。-32768～32767 の整数で書いてください。");
  return static_cast<std::int16_t>(value.get<std::int64_t>());
}

std::string ToText(const Json& value, const std::string& where, std::size_t width) {
  if (!value.is_string()) throw DataError(where + " が " + Shown(value) + " です。文字列で書いてください。");
  const std::string text = value.get<std::string>();
  switch (CheckFieldFit(text, width)) {
    case FieldFit::Fits: return text;
    case FieldFit::TooLong:
      throw DataError(where + " の文字列が長すぎます。シフトJISで " + std::to_string(width) +
                      " バイト (全角 " + std::to_string(width / 2) + " 文字) までです。");
    case FieldFit::NotEncodable: break;
  }
  throw DataError(where + " にシフトJISで書けない文字があります。");
}

template <typename Record>
Field<Record> Number(std::string_view key, std::int16_t Record::*member) {
  return {key, [member](const Record& r) { return Json(r.*member); },
          [key, member](Record& r, const Json& v) { r.*member = ToInt16(v, std::string(key)); }};
}

template <typename Record>
Field<Record> Text(std::string_view key, std::string Record::*member, std::size_t width) {
  return {key, [member](const Record& r) { return Json(r.*member); },
          [key, member, width](Record& r, const Json& v) { r.*member = ToText(v, std::string(key), width); }};
}

void RequireSix(const Json& value, std::string_view key) {
  if (!value.is_array() || value.size() != 6)
    throw DataError(std::string(key) + " は 6 つの要素の配列で書いてください (地区 0～5)。");
}

std::string Element(std::string_view key, std::size_t i) {
  return std::string(key) + "(" + std::to_string(i) + ")";
}

template <typename Record>
Field<Record> Numbers(std::string_view key, Column Record::*member) {
  return {key, [member](const Record& r) { return Json(r.*member); },
          [key, member](Record& r, const Json& v) {
            RequireSix(v, key);
            for (std::size_t i = 0; i < 6; ++i) (r.*member)[i] = ToInt16(v[i], Element(key, i));
          }};
}

template <typename Record>
Field<Record> Texts(std::string_view key, std::array<std::string, 6> Record::*member, std::size_t width) {
  return {key, [member](const Record& r) { return Json(r.*member); },
          [key, member, width](Record& r, const Json& v) {
            RequireSix(v, key);
            for (std::size_t i = 0; i < 6; ++i) (r.*member)[i] = ToText(v[i], Element(key, i), width);
          }};
}

const std::vector<Field<ScenarioRecord>>& ScenarioFields() {
  using R = ScenarioRecord;
  static const std::vector<Field<R>> fields = {
      Number<R>("StartTurn", &R::StartTurn),          Text<R>("Music", &R::Music, 20),
      Text<R>("Description", &R::Description, 200),   Texts<R>("DifficultyText", &R::DifficultyText, 20),
      Numbers<R>("StartOwner", &R::StartOwner),       Numbers<R>("StartMoney", &R::StartMoney),
      Numbers<R>("StartSoldiers", &R::StartSoldiers), Numbers<R>("StartStrength", &R::StartStrength),
      Numbers<R>("StartWeapon", &R::StartWeapon),     Numbers<R>("StartDevelopment", &R::StartDevelopment),
  };
  return fields;
}

const std::vector<Field<SaveRecord>>& SaveFields() {
  using R = SaveRecord;
  static const std::vector<Field<R>> fields = {
      Number<R>("TurnNumber", &R::TurnNumber),
      Text<R>("MusicName", &R::MusicName, 20),
      Text<R>("ScenarioName", &R::ScenarioName, 20),
      Numbers<R>("Owner", &R::Owner),
      Numbers<R>("Money", &R::Money),
      Numbers<R>("Soldiers", &R::Soldiers),
      Numbers<R>("Strength", &R::Strength),
      Numbers<R>("Weapon", &R::Weapon),
      Numbers<R>("Development", &R::Development),
      Number<R>("CurrentDistrict", &R::CurrentDistrict),
      Numbers<R>("PlayerOfFaction", &R::PlayerOfFaction),
      Number<R>("PlayerCount", &R::PlayerCount),
  };
  return fields;
}

template <typename Record>
Json ToJson(const Record& record, const std::vector<Field<Record>>& fields) {
  Json json = Json::object();
  for (const auto& field : fields) json[std::string(field.key)] = field.get(record);
  return json;
}

template <typename Record>
Record FromJson(const Json& json, const std::vector<Field<Record>>& fields, std::string_view kind) {
  if (!json.is_object()) throw DataError("JSON の一番外側は { } のオブジェクトにしてください。");
  Record record;
  for (const auto& [key, value] : json.items()) {
    const Field<Record>* found = nullptr;
    for (const auto& field : fields)
      if (field.key == key) found = &field;
    if (found == nullptr)
      throw DataError("キー \"" + key + "\" は" + std::string(kind) + " にはありません。");
    found->set(record, value);
  }
  return record;
}

}  // namespace

Json ScenarioToJson(const ScenarioRecord& record) { return ToJson(record, ScenarioFields()); }
Json SaveToJson(const SaveRecord& record) { return ToJson(record, SaveFields()); }

ScenarioRecord ScenarioFromJson(const Json& json) {
  return FromJson(json, ScenarioFields(), "シナリオ (.dat)");
}
SaveRecord SaveFromJson(const Json& json) { return FromJson(json, SaveFields(), "セーブ (.sav)"); }

}  // namespace yuunagi::data_tool
