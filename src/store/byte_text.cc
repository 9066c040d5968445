// Hexadecimal, printable-byte and cleaning text functions.
#include "store/byte_text.h"

#include "base/text_encoding.h"

namespace edb {
namespace {

constexpr char16_t kHexDigits[] = u"0123456789abcdef";

// The value of one hexadecimal digit, or -1.
int HexDigitValue(char16_t unit) {
  if (unit >= u'0' && unit <= u'9') return unit - u'0';
  if (unit >= u'a' && unit <= u'f') return unit - u'a' + 10;
  if (unit >= u'A' && unit <= u'F') return unit - u'A' + 10;
  return -1;
}

// The five byte values Windows-1252 leaves undefined map to these.
bool IsC1Control(char16_t unit) { return unit >= 0x80 && unit <= 0x9F; }

bool IsDroppedByCleaning(char16_t unit) {
  return unit == 0 || unit == u'\t' || unit == u'\n' || unit == u'\r' || unit == u'\\';
}

}  // namespace

std::u16string HexText(std::span<const uint8_t> bytes) {
  std::u16string text;
  text.reserve(bytes.size() * 2);
  for (uint8_t byte : bytes) {
    text.push_back(kHexDigits[byte >> 4]);
    text.push_back(kHexDigits[byte & 0x0f]);
  }
  return text;
}

std::u16string HexDecodeText(std::u16string_view text) {
  std::u16string decoded;
  if (text.empty() || text.size() % 2 != 0) return decoded;
  decoded.reserve(text.size() / 2);
  for (size_t i = 0; i < text.size(); i += 2) {
    int high = HexDigitValue(text[i]);
    int low = HexDigitValue(text[i + 1]);
    if (high < 0 || low < 0) continue;
    int value = high * 16 + low;
    if (value == 0) {
      decoded.push_back(u' ');
    } else if (value >= 32 && value <= 122) {
      decoded.push_back(static_cast<char16_t>(value));
    } else if (value >= 128) {
      const char16_t unit = Windows1252ToUnit(static_cast<uint8_t>(value));
      if (!IsC1Control(unit)) decoded.push_back(unit);
    }
  }
  return decoded;
}

std::u16string PrintableBytesText(std::span<const uint8_t> bytes) {
  std::u16string text;
  text.reserve(bytes.size());
  for (uint8_t byte : bytes) {
    if (byte >= 1 && byte <= 125) text.push_back(static_cast<char16_t>(byte));
  }
  return text;
}

std::u16string CleanText(std::u16string_view text) {
  std::u16string cleaned;
  cleaned.reserve(text.size());
  for (char16_t unit : text) {
    if (!IsDroppedByCleaning(unit)) cleaned.push_back(unit);
  }
  return cleaned;
}

}  // namespace edb
