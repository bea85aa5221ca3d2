// The byte layout of the two records, each described once as a table of its
// fields. Reading and writing the files, and the data tool's JSON, all walk
// these tables, so a field's name, place and width are written down only here.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

#include "files/Cp932.h"
#include "files/RecordFile.h"
#include "files/Records.h"

namespace yuunagi {

enum class FieldKind { Int16, Text };

// One field of a record: where it lies and what it holds. A per-district
// field holds six values side by side, districts 0 to 5.
template <typename Record>
struct RecordField {
  using Number = std::int16_t Record::*;
  using Numbers = std::array<std::int16_t, 6> Record::*;
  using Text = std::string Record::*;
  using Texts = std::array<std::string, 6> Record::*;

  constexpr RecordField(std::string_view name, std::size_t offset, Number m)
      : name(name), offset(offset), kind(FieldKind::Int16), width(2), count(1), member(m) {}
  constexpr RecordField(std::string_view name, std::size_t offset, Numbers m)
      : name(name), offset(offset), kind(FieldKind::Int16), width(2), count(6), member(m) {}
  constexpr RecordField(std::string_view name, std::size_t offset, Text m, std::size_t width)
      : name(name), offset(offset), kind(FieldKind::Text), width(width), count(1), member(m) {}
  constexpr RecordField(std::string_view name, std::size_t offset, Texts m, std::size_t width)
      : name(name), offset(offset), kind(FieldKind::Text), width(width), count(6), member(m) {}

  std::string_view name;  // as in the records, the JSON keys and the messages
  std::size_t offset;     // of the first byte in the record
  FieldKind kind;
  std::size_t width;  // bytes of one value: 2 for a number, the field width for a text
  std::size_t count;  // 1, or 6 for a per-district field
  std::variant<Number, Numbers, Text, Texts> member;

  constexpr std::size_t End() const { return offset + width * count; }
};

namespace layout_detail {
using S = ScenarioRecord;
using V = SaveRecord;
template <typename T>
constexpr bool kPerDistrict = false;
template <typename T>
constexpr bool kPerDistrict<std::array<T, 6>> = true;
}  // namespace layout_detail

// A scenario, 414 bytes.
inline constexpr std::array<RecordField<ScenarioRecord>, 10> kScenarioLayout = {{
    {"StartTurn", 0, &layout_detail::S::StartTurn},
    {"Music", 2, &layout_detail::S::Music, 20},
    {"Description", 22, &layout_detail::S::Description, 200},
    {"DifficultyText", 222, &layout_detail::S::DifficultyText, 20},
    {"StartOwner", 342, &layout_detail::S::StartOwner},
    {"StartMoney", 354, &layout_detail::S::StartMoney},
    {"StartSoldiers", 366, &layout_detail::S::StartSoldiers},
    {"StartStrength", 378, &layout_detail::S::StartStrength},
    {"StartWeapon", 390, &layout_detail::S::StartWeapon},
    {"StartDevelopment", 402, &layout_detail::S::StartDevelopment},
}};

// A save slot, 130 bytes. The board is stored column by column.
inline constexpr std::array<RecordField<SaveRecord>, 12> kSaveLayout = {{
    {"TurnNumber", 0, &layout_detail::V::TurnNumber},
    {"MusicName", 2, &layout_detail::V::MusicName, 20},
    {"ScenarioName", 22, &layout_detail::V::ScenarioName, 20},
    {"Owner", 42, &layout_detail::V::Owner},
    {"Money", 54, &layout_detail::V::Money},
    {"Soldiers", 66, &layout_detail::V::Soldiers},
    {"Strength", 78, &layout_detail::V::Strength},
    {"Weapon", 90, &layout_detail::V::Weapon},
    {"Development", 102, &layout_detail::V::Development},
    {"CurrentDistrict", 114, &layout_detail::V::CurrentDistrict},
    {"PlayerOfFaction", 116, &layout_detail::V::PlayerOfFaction},
    {"PlayerCount", 128, &layout_detail::V::PlayerCount},
}};

// The fields follow each other without gap or overlap and fill the record.
template <typename Layout>
constexpr bool FillsRecord(const Layout& layout, std::size_t size) {
  std::size_t at = 0;
  for (const auto& field : layout) {
    if (field.offset != at) return false;
    at = field.End();
  }
  return at == size;
}
static_assert(FillsRecord(kScenarioLayout, kScenarioRecordSize));
static_assert(FillsRecord(kSaveLayout, kSaveRecordSize));

// Calls visit(i, value) for each value of `field` in `record`, i from 0;
// value is a std::int16_t or a std::string, const when the record is.
template <typename Record, typename Visit>
void ForEachValue(Record& record, const RecordField<std::remove_const_t<Record>>& field, Visit&& visit) {
  std::visit(
      [&](auto member) {
        auto& value = record.*member;
        if constexpr (layout_detail::kPerDistrict<std::remove_cvref_t<decltype(value)>>) {
          for (std::size_t i = 0; i < value.size(); ++i) visit(i, value[i]);
        } else {
          visit(std::size_t{0}, value);
        }
      },
      field.member);
}

// The record as bytes on disk, exactly `size` bytes.
template <typename Record, std::size_t N>
std::string EncodeRecord(const Record& record, const std::array<RecordField<Record>, N>& layout,
                         std::size_t size) {
  std::string bytes(size, '\0');
  for (const auto& field : layout) {
    ForEachValue(record, field, [&](std::size_t i, const auto& value) {
      const std::size_t at = field.offset + i * field.width;
      if constexpr (std::is_same_v<std::remove_cvref_t<decltype(value)>, std::string>) {
        bytes.replace(at, field.width, EncodeField(value, field.width));
      } else {
        record_file::PutInt16(bytes, at, value);
      }
    });
  }
  return bytes;
}

// The record from file bytes: missing bytes of a short file count as zero,
// bytes past the record are ignored, texts lose their padding blanks.
template <typename Record, std::size_t N>
Record DecodeRecord(std::string_view fileBytes, const std::array<RecordField<Record>, N>& layout,
                    std::size_t size) {
  std::string bytes(fileBytes.substr(0, size));
  bytes.resize(size, '\0');
  const std::string_view view = bytes;
  Record record;
  for (const auto& field : layout) {
    ForEachValue(record, field, [&](std::size_t i, auto& value) {
      const std::size_t at = field.offset + i * field.width;
      if constexpr (std::is_same_v<std::remove_cvref_t<decltype(value)>, std::string>) {
        value = DecodeField(view.substr(at, field.width));
      } else {
        value = record_file::GetInt16(view, at);
      }
    });
  }
  return record;
}

}  // namespace yuunagi
