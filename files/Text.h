// Small text helpers for the game's UTF-8 strings: fitting a text read from a
// data file for display, and cutting the extension off a file name.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace yuunagi {

// The first n characters of `utf8`, counted in UTF-16 code units as the
// player's screen counts them, with the blanks (U+0020 only) at the end
// removed. A character that would be cut in half is left out whole.
std::string FitText(std::string_view utf8, int n);

// `name` without its last extension: everything before the last ".", unless
// that dot is the first character (".dat" stays ".dat"). An empty name
// gives an empty name.
std::string StripExtension(std::string_view name);

// Number of UTF-16 code units the text takes. Malformed bytes count one each.
std::size_t Utf16Length(std::string_view utf8);

// Byte length of the UTF-8 character at the start of `text`, or 0 when
// `text` does not start with a well-formed character.
std::size_t Utf8CharLength(std::string_view text);

// `text` with the blanks (U+0020 only) at its end removed.
std::string_view TrimTrailingBlanks(std::string_view text);

// ASCII letters compared without regard to case.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);
bool EndsWithIgnoringCase(std::string_view text, std::string_view suffix);

}  // namespace yuunagi
