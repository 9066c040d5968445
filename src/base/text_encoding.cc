// Text conversions between UTF-16, UTF-8 and Windows-1252.
#include "base/text_encoding.h"

#include <array>

namespace edb {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

// Windows-1252 0x80..0x9F; the five undefined positions keep their C1 value.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(char32_t cp, std::string* out) {
  if (cp < 0x80) {
    out->push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

void AppendUtf16(char32_t cp, std::u16string* out) {
  if (cp < 0x10000) {
    out->push_back(static_cast<char16_t>(cp));
  } else {
    cp -= 0x10000;
    out->push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out->push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  }
}

// Decodes one UTF-8 sequence at `i`; returns false for a malformed one and
// advances `i` past what was consumed either way.
bool DecodeUtf8(std::string_view s, size_t* i, char32_t* cp) {
  auto byte = [&](size_t k) { return static_cast<uint8_t>(s[k]); };
  uint8_t lead = byte(*i);
  size_t length;
  char32_t value;
  if (lead < 0x80) {
    *cp = lead;
    ++*i;
    return true;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    value = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    value = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    value = lead & 0x07;
  } else {
    ++*i;
    return false;
  }
  if (*i + length > s.size()) {
    ++*i;
    return false;
  }
  for (size_t k = 1; k < length; ++k) {
    uint8_t b = byte(*i + k);
    if ((b & 0xC0) != 0x80) {
      ++*i;
      return false;
    }
    value = (value << 6) | (b & 0x3F);
  }
  bool overlong = (length == 3 && value < 0x800) || (length == 4 && value < 0x10000);
  bool surrogate = value >= 0xD800 && value <= 0xDFFF;
  if (overlong || surrogate || value > 0x10FFFF) {
    ++*i;
    return false;
  }
  *i += length;
  *cp = value;
  return true;
}

}  // namespace

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t unit = text[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      AppendUtf8(0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00), &out);
      ++i;
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      AppendUtf8(kReplacement, &out);
    } else {
      AppendUtf8(unit, &out);
    }
  }
  return out;
}

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    char32_t cp;
    AppendUtf16(DecodeUtf8(text, &i, &cp) ? cp : kReplacement, &out);
  }
  return out;
}

bool IsValidUtf8(std::string_view bytes) {
  size_t i = 0;
  char32_t cp;
  while (i < bytes.size()) {
    if (!DecodeUtf8(bytes, &i, &cp)) return false;
  }
  return true;
}

char16_t Windows1252ToUnit(uint8_t byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kHighControls[byte - 0x80];
  return byte;
}

std::u16string Windows1252ToUtf16(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  for (char c : bytes) out.push_back(Windows1252ToUnit(static_cast<uint8_t>(c)));
  return out;
}

std::u16string Windows1252ZeroTerminatedToUtf16(const uint8_t* bytes, size_t size) {
  std::u16string out;
  for (size_t i = 0; i < size && bytes[i] != 0; ++i) out.push_back(Windows1252ToUnit(bytes[i]));
  return out;
}

std::string Utf16ToWindows1252(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char16_t unit : text) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) {
      out.push_back(static_cast<char>(unit));
      continue;
    }
    char mapped = '?';
    for (size_t k = 0; k < kHighControls.size(); ++k) {
      if (kHighControls[k] == unit) mapped = static_cast<char>(0x80 + k);
    }
    out.push_back(mapped);
  }
  return out;
}

std::u16string Utf16LeBytesToText(const uint8_t* bytes, size_t size) {
  std::u16string out;
  out.reserve(size / 2);
  for (size_t i = 0; i + 1 < size; i += 2) out.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
  return out;
}

}  // namespace edb
