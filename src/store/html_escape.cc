// Escaping text for HTML.
#include "store/html_escape.h"

namespace edb {

std::u16string HtmlEscaped(std::u16string_view text) {
  std::u16string escaped;
  escaped.reserve(text.size());
  for (char16_t c : text) {
    switch (c) {
      case u'&': escaped += u"&amp;"; break;
      case u'<': escaped += u"&lt;"; break;
      case u'>': escaped += u"&gt;"; break;
      case u'"': escaped += u"&quot;"; break;
      case u'\'': escaped += u"&#39;"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

}  // namespace edb
