#include "RecordJson.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

#include "core/Int16.h"
#include "files/Cp932.h"
#include "files/RecordLayout.h"

namespace yuunagi::data_tool {
namespace {

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

std::string Element(std::string_view key, std::size_t i) {
  return std::string(key) + "(" + std::to_string(i) + ")";
}

// One key per field of the layout; a per-district field is an array of six.
template <typename Record, std::size_t N>
Json ToJson(const Record& record, const std::array<RecordField<Record>, N>& layout) {
  Json json = Json::object();
  for (const auto& field : layout) {
    Json values = Json::array();
    ForEachValue(record, field, [&](std::size_t, const auto& value) { values.push_back(value); });
    json[std::string(field.name)] = field.count == 1 ? values[0] : values;
  }
  return json;
}

template <typename Record, std::size_t N>
Record FromJson(const Json& json, const std::array<RecordField<Record>, N>& layout, std::string_view kind) {
  if (!json.is_object()) throw DataError("JSON の一番外側は { } のオブジェクトにしてください。");
  Record record;
  for (const auto& item : json.items()) {
    const std::string key = item.key();
    const Json& value = item.value();
    const auto field =
        std::find_if(layout.begin(), layout.end(), [&](const auto& f) { return f.name == key; });
    if (field == layout.end())
      throw DataError("キー \"" + key + "\" は" + std::string(kind) + " にはありません。");
    if (field->count != 1 && (!value.is_array() || value.size() != field->count))
      throw DataError(key + " は 6 つの要素の配列で書いてください (地区 0～5)。");
    ForEachValue(record, *field, [&](std::size_t i, auto& target) {
      const bool single = field->count == 1;
      const Json& v = single ? value : value[i];
      const std::string where = single ? key : Element(key, i);
      if constexpr (std::is_same_v<std::remove_cvref_t<decltype(target)>, std::string>) {
        target = ToText(v, where, field->width);
      } else {
        target = ToInt16(v, where);
      }
    });
  }
  return record;
}

}  // namespace

Json ScenarioToJson(const ScenarioRecord& record) { return ToJson(record, kScenarioLayout); }
Json SaveToJson(const SaveRecord& record) { return ToJson(record, kSaveLayout); }

ScenarioRecord ScenarioFromJson(const Json& json) {
  return FromJson(json, kScenarioLayout, "シナリオ (.dat)");
}
SaveRecord SaveFromJson(const Json& json) { return FromJson(json, kSaveLayout, "セーブ (.sav)"); }

}  // namespace yuunagi::data_tool
