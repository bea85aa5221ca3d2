// The bytes of the two records and of their texts: every field at its place,
// code page 932 both ways, and the text helpers the game shows them through.
#include <gtest/gtest.h>

#include <random>

#include "TestFiles.h"
#include "files/RecordLayout.h"
#include "files/SaveFile.h"
#include "files/ScenarioFile.h"
#include "media/Text.h"

namespace yuunagi {
namespace {

using testing::SampleSave;
using testing::SampleScenario;

// Where each field lies, and the first value of the sample record read back
// from there: a number in decimal, or a text.
struct Pinned {
  std::string_view name;
  std::size_t offset, size;
  std::string first;
};

// Texts are 20 bytes or a multiple of it; numbers 2 bytes, or 12 for a column.
bool IsText(const Pinned& pin) { return pin.size % 20 == 0; }

std::string ValueAt(const std::string& bytes, const Pinned& pin) {
  if (IsText(pin)) return DecodeField(bytes.substr(pin.offset, 20));
  return std::to_string(record_file::GetInt16(bytes, pin.offset));
}

template <typename Record, std::size_t N>
void ExpectLayout(const std::array<RecordField<Record>, N>& layout, const std::vector<Pinned>& pinned,
                  const Record& sample, std::string (*encode)(const Record&),
                  Record (*decode)(std::string_view)) {
  ASSERT_EQ(layout.size(), pinned.size());
  const std::string sampleBytes = encode(sample), empty = encode(Record{});
  EXPECT_EQ(decode(sampleBytes), sample);
  for (std::size_t k = 0; k < N; ++k) {
    const Pinned& pin = pinned[k];
    SCOPED_TRACE(pin.name);
    EXPECT_EQ(layout[k].name, pin.name);
    EXPECT_EQ(layout[k].kind, IsText(pin) ? FieldKind::Text : FieldKind::Int16);
    EXPECT_EQ(ValueAt(sampleBytes, pin), pin.first);
    // Filling only this field changes exactly its bytes.
    Record one;
    ForEachValue(one, layout[k], [&](std::size_t, auto& value) {
      if constexpr (std::is_same_v<std::remove_cvref_t<decltype(value)>, std::string>) {
        value = std::string(layout[k].width, 'x');
      } else {
        value = 0x5A5A;
      }
    });
    const std::string bytes = encode(one);
    for (std::size_t b = 0; b < bytes.size(); ++b)
      EXPECT_EQ(bytes[b] != empty[b], b >= pin.offset && b < pin.offset + pin.size) << "byte " << b;
  }
}

TEST(RecordLayout, EveryFieldAtItsOffset) {
  ExpectLayout<ScenarioRecord>(kScenarioLayout,
                               {{"StartTurn", 0, 2, "1"},
                                {"Music", 2, 20, "戦闘1"},
                                {"Description", 22, 200, "ユウナギ町の六つの地"},
                                {"DifficultyText", 222, 120, "やさしい"},
                                {"StartOwner", 342, 12, "0"},
                                {"StartMoney", 354, 12, "100"},
                                {"StartSoldiers", 366, 12, "50"},
                                {"StartStrength", 378, 12, "10"},
                                {"StartWeapon", 390, 12, "1"},
                                {"StartDevelopment", 402, 12, "20"}},
                               SampleScenario(), EncodeScenario, DecodeScenario);
  ExpectLayout<SaveRecord>(kSaveLayout,
                           {{"TurnNumber", 0, 2, "12"},
                            {"MusicName", 2, 20, "戦闘1"},
                            {"ScenarioName", 22, 20, "初級"},
                            {"Owner", 42, 12, "0"},
                            {"Money", 54, 12, "100"},
                            {"Soldiers", 66, 12, "1"},
                            {"Strength", 78, 12, "7"},
                            {"Weapon", 90, 12, "1"},
                            {"Development", 102, 12, "21"},
                            {"CurrentDistrict", 114, 2, "3"},
                            {"PlayerOfFaction", 116, 12, "0"},
                            {"PlayerCount", 128, 2, "2"}},
                           SampleSave(), EncodeSave, DecodeSave);
  // Numbers are little-endian; the second value of a column follows the first.
  EXPECT_EQ(EncodeScenario(SampleScenario()).substr(366 + 10, 2), std::string("\0\x80", 2));  // -32768
  EXPECT_EQ(EncodeSave(SampleSave()).substr(54 + 2, 2), std::string("\xC8\0", 2));            // 200
}

TEST(RecordLayout, ShortFilesReadAsZerosAndLongOnesLoseTheirTail) {
  const std::string full = EncodeScenario(SampleScenario());
  for (std::size_t size : {0u, 1u, 21u, 343u, 351u, 413u}) {
    std::string padded = full.substr(0, size);
    padded.resize(414, '\0');
    EXPECT_EQ(DecodeScenario(full.substr(0, size)), DecodeScenario(padded)) << size;
  }
  const ScenarioRecord cut = DecodeScenario(full.substr(0, 351));
  EXPECT_EQ(cut.StartOwner, (std::array<std::int16_t, 6>{0, 1, 2, 3, 4, 0}));  // 351: low byte of [4] only
  EXPECT_EQ(DecodeScenario(full + "tail"), SampleScenario());
  EXPECT_EQ(DecodeSave(""), SaveRecord{});
  // A text longer than its field keeps what fits, never half a character.
  SaveRecord s = SampleSave();
  s.ScenarioName = "ユウナギ町争奪戦初級編";
  EXPECT_EQ(DecodeSave(EncodeSave(s)).ScenarioName, "ユウナギ町争奪戦初級");
}

TEST(Cp932, DecodesAndDropsWhatIsNoText) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"Turn 12", "Turn 12"},
      {"\x82\xA0\xB1", "あｱ"},
      {"\x81\x60", "～"},
      {"AB\x82", "AB"},  // a lead byte cut off by the field end
      {"A\x80"
       "B  ",
       "AB"},                // 0x80 is no character
      {"A\x82 B", "A B"},    // a lead byte without a trail byte
      {"\x85\x41", ""},      // an unassigned pair goes whole, trail byte and all
      {"X\xEF\x40Y", "XY"},  // the same in the middle of a text
      {std::string("AB\0\0  ", 6), "AB"},
      {" A  ", " A"},
      {std::string(20, ' '), ""},
  };
  for (const auto& [bytes, text] : cases) EXPECT_EQ(DecodeField(bytes), text) << bytes;
}

TEST(Cp932, EncodesIntoFieldsWithoutHalfCharacters) {
  bool exact = true;
  EXPECT_EQ(Utf8ToCp932("caf\xC3\xA9", &exact), "caf?");
  EXPECT_FALSE(exact);
  EXPECT_EQ(Utf8ToCp932("A\xFF"
                        "B",
                        &exact),
            "A?B");
  EXPECT_EQ(Utf8ToCp932("〜～"), "\x81\x60\x81\x60");  // the wave dash and the fullwidth tilde
  const std::vector<std::tuple<std::string, std::size_t, std::string>> fields = {
      {"AB", 5, "AB   "},        {"", 3, "   "},         {"ABCDEF", 4, "ABCD"},
      {"ABCあ", 4, "ABC "},      {"ｱｲｳ", 2, "\xB1\xB2"}, {"初級", 4, "\x8F\x89\x8B\x89"},
      {"A初級", 4, "A\x8F\x89 "}};
  for (const auto& [text, width, bytes] : fields) EXPECT_EQ(EncodeField(text, width), bytes) << text;
  EXPECT_EQ(CheckFieldFit("ユウナギ町争奪戦初級", 20), FieldFit::Fits);
  EXPECT_EQ(CheckFieldFit("ユウナギ町争奪戦初級編", 20), FieldFit::TooLong);
  EXPECT_EQ(CheckFieldFit("\xF0\x9F\x8C\x8A", 20), FieldFit::NotEncodable);
  // Whatever random bytes decode to is valid UTF-8 that fits back into their width.
  std::mt19937_64 generator(932);
  for (int round = 0; round < 300; ++round) {
    std::string bytes(generator() % 64, '\0');
    for (char& b : bytes) b = static_cast<char>(generator());
    const std::string text = DecodeField(bytes);
    for (std::string_view rest = text; !rest.empty(); rest.remove_prefix(Utf8CharLength(rest)))
      ASSERT_NE(Utf8CharLength(rest), 0u) << round;
    EXPECT_EQ(EncodeField(text, bytes.size()).size(), bytes.size());
  }
}

TEST(TextHelpers, FitTextAndStripExtension) {
  const std::vector<std::tuple<std::string, int, std::string>> fits = {
      {"ABC" + std::string(17, ' '), 16, "ABC"},
      {"ABCDEFGHIJKLMNOPQRST", 16, "ABCDEFGHIJKLMNOP"},
      {std::string(20, ' '), 16, ""},
      {" A B  ", 16, " A B"},
      {"ABC\xE3\x80\x80", 16, "ABC\xE3\x80\x80"},  // only U+0020 is a blank
      {"ABC", 0, ""},
      {"ABC", -3, ""},
      {"ユウナギ町争奪戦初級", 14, "ユウナギ町争奪戦初級"},
      {"ヒノデ ソラノ ", 4, "ヒノデ"},
      {"A\xF0\x9F\x8C\x8A", 2, "A"},  // two UTF-16 units, never halved
      {"A\xF0\x9F\x8C\x8A", 3, "A\xF0\x9F\x8C\x8A"}};
  for (const auto& [text, n, fitted] : fits) EXPECT_EQ(FitText(text, n), fitted) << text << " " << n;
  const std::vector<std::pair<std::string, std::string>> names = {
      {"a.b.dat", "a.b"}, {"readme", "readme"}, {".dat", ".dat"}, {".a.dat", ".a"},
      {"a.", "a"},        {"初級.dat", "初級"}, {"", ""}};
  for (const auto& [name, stripped] : names) EXPECT_EQ(StripExtension(name), stripped) << name;
  EXPECT_TRUE(EndsWithIgnoringCase("X.DaT", ".dat"));
  EXPECT_FALSE(EndsWithIgnoringCase("dat", ".dat"));
}

}  // namespace
}  // namespace yuunagi
