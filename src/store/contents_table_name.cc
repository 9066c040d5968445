// Contents-table names of folders.
#include "store/contents_table_name.h"

namespace edb {

std::optional<std::u16string> ContentsTableName(const std::u16string& identifier) {
  if (identifier.empty()) return std::nullopt;
  std::u16string digits = identifier.substr(1, 14);
  size_t first = digits.find_first_not_of(u'0');
  if (first == std::u16string::npos) return std::nullopt;
  std::u16string name = u"1-";
  for (size_t i = first; i < digits.size(); ++i) {
    char16_t c = digits[i];
    name.push_back(c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c);
  }
  return name;
}

}  // namespace edb
