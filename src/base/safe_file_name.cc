// Safe single-component file names from untrusted database texts.
#include "base/safe_file_name.h"

#include "base/text_encoding.h"

namespace edb {
namespace {

bool IsUnsafeUnit(char16_t c) { return c < 0x20 || c == 0x7F || c == u'/' || c == u'\\' || c == u':'; }

// Cuts `name` to at most `limit` bytes on a UTF-8 character boundary.
std::string CutUtf8(const std::string& name, size_t limit) {
  if (name.size() <= limit) return name;
  size_t end = limit;
  while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) --end;
  return name.substr(0, end);
}

}  // namespace

std::string SafeFileName(const std::u16string& untrusted) {
  std::u16string cleaned;
  cleaned.reserve(untrusted.size());
  for (char16_t c : untrusted) cleaned.push_back(IsUnsafeUnit(c) ? u'_' : c);
  size_t start = cleaned.find_first_not_of(u". ");
  cleaned = start == std::u16string::npos ? u"" : cleaned.substr(start);
  while (!cleaned.empty() && (cleaned.back() == u' ' || cleaned.back() == u'.')) cleaned.pop_back();
  if (cleaned.empty()) return "attachment";

  std::string name = Utf16ToUtf8(cleaned);
  if (name.size() <= kMaxSafeFileNameBytes) return name;
  size_t dot = name.rfind('.');
  std::string extension = (dot != std::string::npos && name.size() - dot <= 16) ? name.substr(dot) : "";
  return CutUtf8(name, kMaxSafeFileNameBytes - extension.size()) + extension;
}

}  // namespace edb
