// Code page 932 (Shift-JIS as Windows writes it), the encoding of every text
// in the scenario and save files, converted to and from the program's UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace yuunagi {

// CP932 bytes to UTF-8. Bytes that do not decode are dropped: a lead byte cut
// off by the end of a field, a byte that is no character, and both bytes of a
// double-byte pair that names no character. Never throws.
std::string Cp932ToUtf8(std::string_view bytes);

// UTF-8 to CP932 bytes. Each character with no CP932 form, and each byte of
// malformed UTF-8, becomes "?"; `allEncoded` (when given) tells whether any did.
// ～ (U+FF5E) and the wave dash 〜 (U+301C) both become 0x8160.
std::string Utf8ToCp932(std::string_view utf8, bool* allEncoded = nullptr);

// A text as a fixed-width field: encoded, cut to `width` bytes without ever
// keeping half of a double-byte character, then padded with blanks (0x20).
std::string EncodeField(std::string_view utf8, std::size_t width);

// The text of a fixed-width field: decoded, NUL characters (the zero bytes
// of a short file) dropped, the padding blanks at the end removed.
std::string DecodeField(std::string_view bytes);

// Whether a text can be stored in a field of `width` bytes as it is.
enum class FieldFit { Fits, TooLong, NotEncodable };
FieldFit CheckFieldFit(std::string_view utf8, std::size_t width);

// True for the first byte of a CP932 double-byte character.
constexpr bool IsCp932LeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// True for a byte that can follow a lead byte.
constexpr bool IsCp932TrailByte(unsigned char b) {
  return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

}  // namespace yuunagi
