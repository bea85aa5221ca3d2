#include "files/Cp932.h"

#include <iconv.h>

#include <cerrno>

#include "files/Text.h"

namespace yuunagi {
namespace {

// One conversion descriptor, opened for one call and closed with it, so the
// converters keep no state between calls and are safe on any thread.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts as much of `in` as it can, appending to `out`. Returns 0 when all
  // of it was converted, otherwise errno (EILSEQ at a bad sequence, EINVAL at
  // a sequence cut off by the end) with `in` advanced to the trouble.
  int Convert(std::string_view& in, std::string& out) {
    char buffer[256];
    while (!in.empty()) {
      char* source = const_cast<char*>(in.data());
      std::size_t sourceLeft = in.size();
      char* target = buffer;
      std::size_t targetLeft = sizeof buffer;
      const std::size_t result = iconv(cd_, &source, &sourceLeft, &target, &targetLeft);
      const int error = result == static_cast<std::size_t>(-1) ? errno : 0;
      out.append(buffer, static_cast<std::size_t>(target - buffer));
      in.remove_prefix(in.size() - sourceLeft);
      if (error != 0 && error != E2BIG) return error;
    }
    return 0;
  }

 private:
  iconv_t cd_;
};

constexpr std::string_view kFullwidthTilde = "\xEF\xBD\x9E";  // U+FF5E ～
constexpr std::string_view kWaveDash = "\xE3\x80\x9C";        // U+301C 〜
constexpr std::string_view kCp932Tilde = "\x81\x60";

}  // namespace

std::string Cp932ToUtf8(std::string_view bytes) {
  std::string out;
  Converter converter("UTF-8", "CP932");
  if (!converter.ok()) {
    // Without the converter only plain ASCII can be read faithfully.
    for (const char c : bytes)
      if (static_cast<unsigned char>(c) < 0x80) out += c;
    return out;
  }
  while (!bytes.empty()) {
    const int error = converter.Convert(bytes, out);
    if (error == 0 || error == EINVAL) break;  // EINVAL: half a character at the end
    // A lead and a trail byte that name no character go together, so the
    // trail byte is not read as a character of its own; any other byte that
    // is no character goes alone.
    const bool pair = bytes.size() >= 2 && IsCp932LeadByte(static_cast<unsigned char>(bytes[0])) &&
                      IsCp932TrailByte(static_cast<unsigned char>(bytes[1]));
    bytes.remove_prefix(pair ? 2 : 1);
  }
  return out;
}

std::string Utf8ToCp932(std::string_view utf8, bool* allEncoded) {
  std::string out;
  bool exact = true;
  Converter converter("CP932", "UTF-8");
  while (!utf8.empty()) {
    const std::size_t length = Utf8CharLength(utf8);
    if (length == 0) {
      out += '?';
      exact = false;
      utf8.remove_prefix(1);
      continue;
    }
    const std::string_view character = utf8.substr(0, length);
    utf8.remove_prefix(length);
    if (length == 1) {
      out += character[0];
      continue;
    }
    // Both tildes are the one CP932 character 0x8160, whatever the converter's table says.
    if (character == kFullwidthTilde || character == kWaveDash) {
      out += kCp932Tilde;
      continue;
    }
    std::string_view rest = character;
    std::string encoded;
    if (converter.ok() && converter.Convert(rest, encoded) == 0 && !encoded.empty()) {
      out += encoded;
    } else {
      out += '?';
      exact = false;
    }
  }
  if (allEncoded != nullptr) *allEncoded = exact;
  return out;
}

namespace {
// Length of the longest prefix of valid CP932 `bytes` within `width` bytes
// that ends on a character boundary.
std::size_t WholeCharactersWithin(std::string_view bytes, std::size_t width) {
  std::size_t end = 0;
  while (end < bytes.size()) {
    const std::size_t length = IsCp932LeadByte(static_cast<unsigned char>(bytes[end])) ? 2 : 1;
    if (end + length > width) break;
    end += length;
  }
  return end;
}
}  // namespace

std::string EncodeField(std::string_view utf8, std::size_t width) {
  std::string bytes = Utf8ToCp932(utf8);
  bytes.resize(WholeCharactersWithin(bytes, width));
  bytes.resize(width, ' ');
  return bytes;
}

std::string DecodeField(std::string_view bytes) {
  std::string text = Cp932ToUtf8(bytes);
  std::erase(text, '\0');
  text.resize(TrimTrailingBlanks(text).size());
  return text;
}

FieldFit CheckFieldFit(std::string_view utf8, std::size_t width) {
  bool exact = true;
  const std::string bytes = Utf8ToCp932(utf8, &exact);
  if (!exact) return FieldFit::NotEncodable;
  return bytes.size() <= width ? FieldFit::Fits : FieldFit::TooLong;
}

}  // namespace yuunagi
