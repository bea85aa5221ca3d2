#include "files/Text.h"

#include <algorithm>

namespace yuunagi {

std::size_t Utf8CharLength(std::string_view text) {
  if (text.empty()) return 0;
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  char32_t code = 0;
  char32_t smallest = 0;
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, code = lead & 0x1F, smallest = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, code = lead & 0x0F, smallest = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, code = lead & 0x07, smallest = 0x10000;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(i) & 0x3F);
  }
  // Overlong forms, surrogates and code points past U+10FFFF are not text.
  if (code < smallest || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return 0;
  return length;
}

std::size_t Utf16Length(std::string_view utf8) {
  std::size_t units = 0;
  while (!utf8.empty()) {
    const std::size_t length = Utf8CharLength(utf8);
    units += length == 4 ? 2 : 1;
    utf8.remove_prefix(length == 0 ? 1 : length);
  }
  return units;
}

std::string_view TrimTrailingBlanks(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::string FitText(std::string_view utf8, int n) {
  std::size_t units = 0;
  std::size_t end = 0;
  while (end < utf8.size()) {
    const std::size_t length = Utf8CharLength(utf8.substr(end));
    const std::size_t charUnits = length == 4 ? 2 : 1;
    if (n < 0 || units + charUnits > static_cast<std::size_t>(n)) break;
    units += charUnits;
    end += length == 0 ? 1 : length;
  }
  return std::string(TrimTrailingBlanks(utf8.substr(0, end)));
}

std::string StripExtension(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  // A dot in the first position starts a hidden name, not an extension.
  if (dot == std::string_view::npos || dot == 0) return std::string(name);
  return std::string(name.substr(0, dot));
}

namespace {
char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

bool EndsWithIgnoringCase(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && EqualsIgnoringCase(text.substr(text.size() - suffix.size()), suffix);
}

}  // namespace yuunagi
