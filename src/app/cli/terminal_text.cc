// Control characters shown as "\xHH" for terminal output.
#include "terminal_text.h"

#include "base/text_encoding.h"

namespace edbcli {
namespace {

bool IsControl(char16_t unit) { return unit < 0x20 || (unit >= 0x7F && unit <= 0x9F); }

bool KeptInBody(std::u16string_view text, size_t at) {
  const char16_t unit = text[at];
  if (unit == u'\t' || unit == u'\n') return true;
  return unit == u'\r' && at + 1 < text.size() && text[at + 1] == u'\n';
}

std::string Shown(std::u16string_view text, bool body) {
  constexpr char16_t kHexDigits[] = u"0123456789abcdef";
  std::u16string shown;
  shown.reserve(text.size());
  for (size_t at = 0; at < text.size(); ++at) {
    const char16_t unit = text[at];
    if (!IsControl(unit) || (body && KeptInBody(text, at))) {
      shown.push_back(unit);
      continue;
    }
    shown += u"\\x";
    shown.push_back(kHexDigits[unit >> 4]);
    shown.push_back(kHexDigits[unit & 0x0F]);
  }
  return edb::Utf16ToUtf8(shown);
}

}  // namespace

std::string TerminalText(std::u16string_view text) { return Shown(text, false); }

std::string TerminalBodyText(std::u16string_view text) { return Shown(text, true); }

}  // namespace edbcli
