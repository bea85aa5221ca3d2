// The two records in memory and as bytes: every field at its place, code page
// 932 both ways, the text helpers the game shows them through, and which
// records the game can play.
#include "TestFiles.h"
#include "files/Playability.h"
#include "files/RecordLayout.h"
#include "files/SaveFile.h"
#include "files/ScenarioFile.h"
#include "files/Text.h"

namespace yuunagi {
namespace {

using namespace testing;
using S = ScenarioRecord;
using V = SaveRecord;

// Where a field lies, and the first value of the sample record read back from
// there: a text (its fields are 20 bytes or a multiple) or a number.
struct Pinned {
  std::string_view name;
  std::size_t offset, size;
  std::string first;
  bool Text() const { return size % 20 == 0; }
};

template <typename Record, std::size_t N>
void ExpectLayout(const std::array<RecordField<Record>, N>& layout, const std::vector<Pinned>& pinned,
                  const Record& sample, std::string (*encode)(const Record&),
                  Record (*decode)(std::string_view)) {
  ASSERT_EQ(N, pinned.size());
  const std::string bytes = encode(sample), empty = encode(Record{});
  for (std::size_t k = 0; k < N; ++k) {
    const Pinned& pin = pinned[k];
    EXPECT_EQ(layout[k].name, pin.name);
    EXPECT_EQ(layout[k].kind, pin.Text() ? FieldKind::Text : FieldKind::Int16) << pin.name;
    EXPECT_EQ(pin.Text() ? DecodeField(bytes.substr(pin.offset, 20))
                         : std::to_string(record_file::GetInt16(bytes, pin.offset)),
              pin.first);
    std::string raw(bytes.size(), '\0');  // only this field filled: exactly its bytes come back
    raw.replace(pin.offset, pin.size, pin.size, 'x');
    const std::string filled = encode(decode(raw));
    for (std::size_t b = 0; b < filled.size(); ++b)
      EXPECT_EQ(filled[b] != empty[b], b >= pin.offset && b < pin.offset + pin.size) << pin.name << " " << b;
  }
}

TEST(RecordLayout, EveryFieldAtItsOffset) {
  // clang-format off
  ExpectLayout<ScenarioRecord>(kScenarioLayout, {
      {"StartTurn", 0, 2, "1"}, {"Music", 2, 20, "戦闘1"}, {"Description", 22, 200, "ユウナギ町の六つの地"},
      {"DifficultyText", 222, 120, "やさしい"}, {"StartOwner", 342, 12, "0"}, {"StartMoney", 354, 12, "100"},
      {"StartSoldiers", 366, 12, "50"}, {"StartStrength", 378, 12, "10"}, {"StartWeapon", 390, 12, "1"},
      {"StartDevelopment", 402, 12, "20"}}, SampleScenario(), EncodeScenario, DecodeScenario);
  ExpectLayout<SaveRecord>(kSaveLayout, {
      {"TurnNumber", 0, 2, "12"}, {"MusicName", 2, 20, "戦闘1"}, {"ScenarioName", 22, 20, "初級"},
      {"Owner", 42, 12, "0"}, {"Money", 54, 12, "100"}, {"Soldiers", 66, 12, "1"}, {"Strength", 78, 12, "7"},
      {"Weapon", 90, 12, "1"}, {"Development", 102, 12, "21"}, {"CurrentDistrict", 114, 2, "3"},
      {"PlayerOfFaction", 116, 12, "0"}, {"PlayerCount", 128, 2, "2"}}, SampleSave(), EncodeSave, DecodeSave);
  // clang-format on
  // Numbers are little-endian; bytes past the record are ignored.
  EXPECT_EQ(EncodeScenario(SampleScenario()).substr(366 + 10, 2), std::string("\0\x80", 2));  // -32768
  EXPECT_EQ(DecodeScenario(EncodeScenario(SampleScenario()) + "tail"), SampleScenario());
  SaveRecord s = SampleSave();  // a text longer than its field keeps what fits, never half a character
  s.ScenarioName = "ユウナギ町争奪戦初級編";
  EXPECT_EQ(DecodeSave(EncodeSave(s)).ScenarioName, "ユウナギ町争奪戦初級");
}

TEST(Cp932, DecodesAndDropsWhatIsNoText) {
  // A lead byte cut off by the field end, 0x80 (no character) and a lead byte without a trail
  // byte go alone; a pair that names no character goes whole, trail byte and all.
  // clang-format off
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"\x82\xA0\xB1", "あｱ"}, {"\x81\x60", "～"}, {"AB\x82", "AB"}, {"A\x80  ", "A"}, {"A\x82 B", "A B"},
      {"\x85\x41", ""}, {"X\xEF\x40Y", "XY"}, {std::string("AB\0\0 ", 5), "AB"}, {" A  ", " A"}};
  // clang-format on
  for (const auto& [bytes, text] : cases) EXPECT_EQ(DecodeField(bytes), text) << bytes;
}

TEST(Cp932, EncodesIntoFieldsWithoutHalfCharacters) {
  bool exact = true;
  EXPECT_EQ(Utf8ToCp932("caf\xC3\xA9", &exact), "caf?");
  EXPECT_FALSE(exact);
  EXPECT_EQ(Utf8ToCp932("A\xFF", &exact), "A?");       // malformed UTF-8
  EXPECT_EQ(Utf8ToCp932("〜～"), "\x81\x60\x81\x60");  // the wave dash and the fullwidth tilde
  const std::vector<std::tuple<std::string, std::size_t, std::string>> fields = {
      {"AB", 5, "AB   "},     {"ABCDEF", 4, "ABCD"},           {"ABCあ", 4, "ABC "},
      {"ｱｲｳ", 2, "\xB1\xB2"}, {"初級", 4, "\x8F\x89\x8B\x89"}, {"A初級", 4, "A\x8F\x89 "}};
  for (const auto& [text, width, bytes] : fields) EXPECT_EQ(EncodeField(text, width), bytes) << text;
  EXPECT_EQ(CheckFieldFit("ユウナギ町争奪戦初級", 20), FieldFit::Fits);
  EXPECT_EQ(CheckFieldFit("ユウナギ町争奪戦初級編", 20), FieldFit::TooLong);
  EXPECT_EQ(CheckFieldFit("\xF0\x9F\x8C\x8A", 20), FieldFit::NotEncodable);
}

TEST(TextHelpers, FitTextAndStripExtension) {
  EXPECT_EQ(FitText("ABC" + std::string(17, ' '), 16), "ABC");
  EXPECT_EQ(FitText("ABCDEFGHIJKLMNOPQRST", 16), "ABCDEFGHIJKLMNOP");
  EXPECT_EQ(FitText(" A\xE3\x80\x80", 16), " A\xE3\x80\x80");  // only U+0020 is a blank
  EXPECT_EQ(FitText("A\xF0\x9F\x8C\x8A", 2), "A");             // counted in UTF-16 units, a pair never halved
  EXPECT_EQ(FitText("ABC", -3), "");
  for (const auto& [name, stripped] : std::initializer_list<std::pair<std::string, std::string>>{
           {"a.b.dat", "a.b"}, {"readme", "readme"}, {".dat", ".dat"}, {"a.", "a"}})
    EXPECT_EQ(StripExtension(name), stripped);
}

// Each case changes the sample record; nullopt: it is still playable.
template <typename Record>
using Cases = std::vector<std::pair<std::function<void(Record&)>, std::optional<std::string>>>;

template <typename Record>
void ExpectProblems(const Record& sample, std::optional<std::string> (*check)(const Record&),
                    const Cases<Record>& cases) {
  EXPECT_EQ(check(sample), std::nullopt);
  for (const auto& [change, problem] : cases) {
    Record record = sample;
    change(record);
    EXPECT_EQ(check(record), problem);
  }
}

TEST(Playability, NamesTheFieldAndTheDistrictAtFault) {
  // clang-format off
  const Cases<S> scenarios = {
      {[](S& s) { s.StartOwner = {2, 2, 4, 4, 2, 2}; }, std::nullopt},  // two factions are enough
      {[](S& s) { s.StartWeapon[0] = 9, s.StartSoldiers[0] = -5, s.StartStrength[1] = -1000; }, std::nullopt},
      {[](S& s) { s.StartOwner[3] = 6; }, "StartOwner(3) が 6 です。勢力は 0～5 で指定してください。"},
      {[](S& s) { s.StartOwner[3] = -1; }, "StartOwner(3) が -1 です。勢力は 0～5 で指定してください。"},
      {[](S& s) { s.StartWeapon[5] = 0; }, "StartWeapon(5) が 0 です。武器は 1 以上で指定してください。"},
      {[](S& s) { s.StartMoney[2] = -1; }, "StartMoney(2) が -1 です。金は 0 以上で指定してください。"},
      {[](S& s) { s.StartDevelopment[4] = -1; }, "StartDevelopment(4) が -1 です。開発は 0 以上で指定してください。"},
      {[](S& s) { s.StartOwner = {1, 1, 1, 1, 1, 1}; },
       "StartOwner がすべて 1 (ソラノ) です。2 つ以上の勢力に地区を持たせてください。"}};
  const Cases<V> saves = {
      {[](V& s) { s.Owner = {0, 3, 3, 3, 4, 5}, s.PlayerCount = 1; }, std::nullopt},  // player 1 has fallen
      {[](V& s) { s.PlayerOfFaction = {}, s.PlayerCount = 10; }, std::nullopt},      // a spectator game
      {[](V& s) { s.Owner[4] = 6; }, "Owner(4) が 6 です。勢力は 0～5 で指定してください。"},  // as for scenarios
      {[](V& s) { s.CurrentDistrict = 6; }, "CurrentDistrict が 6 です。地区は 0～5 で指定してください。"},
      {[](V& s) { s.CurrentDistrict = -1; }, "CurrentDistrict が -1 です。地区は 0～5 で指定してください。"},
      {[](V& s) { s.PlayerCount = 10; },
       "PlayerOfFaction(1) が 1 です。PlayerCount が 10 (観戦) のときは、すべて 0 にしてください。"},
      {[](V& s) { s.PlayerCount = 0; }, "PlayerCount が 0 です。人数は 1～6 か、観戦なら 10 で指定してください。"},
      {[](V& s) { s.PlayerCount = 7; }, "PlayerCount が 7 です。人数は 1～6 か、観戦なら 10 で指定してください。"},
      {[](V& s) { s.PlayerOfFaction[5] = 7; }, "PlayerOfFaction(5) が 7 です。プレイヤー番号は 0～6 で指定してください。"},
      {[](V& s) { s.PlayerOfFaction[4] = 2; },
       "PlayerOfFaction(4) が PlayerOfFaction(3) と同じ 2 です。プレイヤー番号は重ならないようにしてください。"},
      {[](V& s) { s.PlayerCount = 3; },
       "PlayerCount が 3 ですが、地区を持つ人間の勢力は 2 つです。PlayerCount はその数にしてください。"},
      {[](V& s) { s.Owner = {}; }, "Owner がすべて 0 (ヒノデ) です。2 つ以上の勢力に地区を持たせてください。"}};
  // clang-format on
  ExpectProblems(SampleScenario(), CheckScenario, scenarios);
  ExpectProblems(SampleSave(), CheckSave, saves);
}

}  // namespace
}  // namespace yuunagi
