// Stored text bytes to UTF-16, as libesedb's getters convert them.
#include "ese/stored_text.h"

#include <vector>

#include "base/text_encoding.h"

namespace edb::ese {
namespace {

constexpr uint32_t kCodePageUtf16 = 1200;
constexpr uint8_t kLzxpressHeader = 0x18;
constexpr uint8_t kEightBitHeaderBit = 0x10;
constexpr char16_t kReplacement = 0xfffd;

bool IsHighSurrogate(char16_t unit) { return unit >= 0xd800 && unit < 0xdc00; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xdc00 && unit < 0xe000; }

// UTF-16LE up to the first NUL; false when a surrogate is unpaired.
bool Utf16LeText(std::span<const uint8_t> bytes, std::u16string* text) {
  text->clear();
  size_t units = bytes.size() / 2;
  for (size_t i = 0; i < units; ++i) {
    char16_t unit = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    if (unit == 0) break;
    if (IsHighSurrogate(unit)) {
      if (i + 1 >= units) return false;
      char16_t low = static_cast<char16_t>(bytes[2 * i + 2] | (bytes[2 * i + 3] << 8));
      if (!IsLowSurrogate(low)) return false;
      text->push_back(unit);
      text->push_back(low);
      ++i;
      continue;
    }
    if (IsLowSurrogate(unit)) return false;
    text->push_back(unit);
  }
  return true;
}

std::u16string AsciiText(std::span<const uint8_t> bytes) {
  std::u16string text;
  for (uint8_t byte : bytes) {
    if (byte == 0) break;
    text.push_back(byte < 0x80 ? char16_t{byte} : kReplacement);
  }
  return text;
}

std::u16string Windows1252Text(std::span<const uint8_t> bytes) {
  return Windows1252ZeroTerminatedToUtf16(bytes.data(), bytes.size());
}

std::u16string Utf8Text(std::span<const uint8_t> bytes) {
  size_t length = 0;
  while (length < bytes.size() && bytes[length] != 0) ++length;
  return Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(bytes.data()), length));
}

// The characters of a 7-bit stream: 7 bits each, least significant first;
// bits left over at the end do not make a character.
std::vector<uint8_t> Expand7Bit(std::span<const uint8_t> packed) {
  std::vector<uint8_t> out;
  out.reserve(packed.size() * 8 / 7);
  uint32_t bits = 0;
  int held = 0;
  for (uint8_t byte : packed) {
    bits |= uint32_t{byte} << held;
    held += 8;
    while (held >= 7) {
      out.push_back(static_cast<uint8_t>(bits & 0x7f));
      bits >>= 7;
      held -= 7;
    }
  }
  return out;
}

}  // namespace

Result<std::u16string> StoredBytesToText(std::span<const uint8_t> bytes, uint32_t code_page) {
  if (code_page == kCodePageUtf16) {
    std::u16string text;
    if (bytes.size() % 2 == 0 && Utf16LeText(bytes, &text)) return text;
    return AsciiText(bytes);
  }
  return Windows1252Text(bytes);
}

Result<std::u16string> CompressedBytesToText(std::span<const uint8_t> bytes) {
  if (bytes.empty()) return Status::Corruption("compressed value without a header byte");
  if (bytes[0] == kLzxpressHeader) return Status::Unsupported("LZXPRESS-compressed value");
  std::vector<uint8_t> expanded = Expand7Bit(bytes.subspan(1));
  if (expanded.empty()) return Status::Corruption("compressed value holds no character");
  std::u16string text;
  if (expanded.size() % 2 == 0 && (bytes[0] & kEightBitHeaderBit) == 0 && Utf16LeText(expanded, &text)) return text;
  return Utf8Text(expanded);
}

}  // namespace edb::ese
