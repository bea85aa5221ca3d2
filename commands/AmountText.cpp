#include "commands/AmountText.h"

#include <array>
#include <string>
#include <utility>

#include "core/Int16.h"
#include "rules/RuleBook.h"

namespace yuunagi {
namespace {

// Full-width forms an input method produces, with the ASCII they stand for.
constexpr std::array<std::pair<std::string_view, char>, 14> kFullWidth = {{
    {"０", '0'},
    {"１", '1'},
    {"２", '2'},
    {"３", '3'},
    {"４", '4'},
    {"５", '5'},
    {"６", '6'},
    {"７", '7'},
    {"８", '8'},
    {"９", '9'},
    {"＋", '+'},
    {"－", '-'},
    {"．", '.'},
    {"　", ' '},
}};

// The leading part of `text` that could belong to a number, in ASCII. The
// first character that is neither ASCII nor one of the full-width forms ends it.
std::string AsciiPrefix(std::string_view text) {
  std::string out;
  while (!text.empty()) {
    const auto c = static_cast<unsigned char>(text.front());
    if (c < 0x80) {
      out += static_cast<char>(c);
      text.remove_prefix(1);
      continue;
    }
    bool known = false;
    for (const auto& [wide, ascii] : kFullWidth) {
      if (text.starts_with(wide)) {
        out += ascii;
        text.remove_prefix(wide.size());
        known = true;
        break;
      }
    }
    if (!known) break;
  }
  return out;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Larger than any 16-bit amount, yet far from overflowing while digits are added.
constexpr long long kTooLarge = 1'000'000;

}  // namespace

std::optional<i16> ReadAmount(std::string_view utf8) {
  const std::string text = AsciiPrefix(utf8);
  std::size_t at = 0;
  while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;

  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';

  long long whole = 0;
  while (at < text.size() && IsDigit(text[at])) {
    if (whole < kTooLarge) whole = whole * 10 + (text[at] - '0');
    ++at;
  }

  // The fraction only decides the rounding: below, at or above one half.
  // Judged on the digits themselves, so no binary fraction blurs a half.
  int versusHalf = -1;
  if (at < text.size() && text[at] == '.') {
    ++at;
    if (at < text.size() && IsDigit(text[at])) {
      const char first = text[at++];
      bool restNonZero = false;
      for (; at < text.size() && IsDigit(text[at]); ++at) {
        if (text[at] != '0') restNonZero = true;
      }
      if (first > '5' || (first == '5' && restNonZero)) {
        versusHalf = 1;
      } else if (first == '5') {
        versusHalf = 0;
      }
    }
  }
  if (versusHalf > 0 || (versusHalf == 0 && whole % 2 != 0)) ++whole;

  const long long value = negative ? -whole : whole;
  if (whole >= kTooLarge || !Fits16(value)) return std::nullopt;
  return static_cast<i16>(value);
}

std::optional<i16> AcceptedAmount(std::string_view text, Action action) {
  const std::optional<i16> amount = ReadAmount(text);
  if (!amount || *amount < 1 || !Fits16(AmountPrice(action, *amount))) return std::nullopt;
  return amount;
}

}  // namespace yuunagi
