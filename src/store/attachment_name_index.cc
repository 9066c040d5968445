// Attachment names through an index by identifier.
#include "store/attachment_name_index.h"

#include <algorithm>
#include <string_view>

namespace edb {
namespace {

constexpr size_t kIdentifierDigits = 16;

// The 16-digit form of an attachment key ("0" + identifier text), or "" when
// the key carries no identifier or one too long to be 8 bytes.
std::u16string PaddedIdentifier(const std::u16string& key) {
  if (key.size() < 2 || key.size() - 1 > kIdentifierDigits) return u"";
  std::u16string_view identifier = std::u16string_view(key).substr(1);
  return std::u16string(kIdentifierDigits - identifier.size(), u'0') + std::u16string(identifier);
}

}  // namespace

AttachmentNameIndex::AttachmentNameIndex(const std::vector<AttachmentEntry>& attachments)
    : attachments_(attachments) {
  for (size_t i = 0; i < attachments.size(); ++i) {
    std::u16string padded = PaddedIdentifier(attachments[i].key);
    if (!padded.empty()) by_identifier_[std::move(padded)].push_back(i);
  }
}

std::optional<std::u16string> AttachmentNameIndex::NamesOf(const std::u16string& identifier_text) const {
  if (identifier_text.size() <= 15) return std::nullopt;
  std::u16string names;
  for (size_t position : PositionsOf(identifier_text)) {
    names += attachments_[position].name.value_or(u"");
    names += u';';
  }
  return names;
}

std::vector<size_t> AttachmentNameIndex::PositionsOf(const std::u16string& identifier_text) const {
  std::vector<size_t> matched;
  for (size_t at = 0; at + kIdentifierDigits <= identifier_text.size(); at += kIdentifierDigits) {
    auto it = by_identifier_.find(identifier_text.substr(at, kIdentifierDigits));
    if (it != by_identifier_.end()) matched.insert(matched.end(), it->second.begin(), it->second.end());
  }
  std::sort(matched.begin(), matched.end());
  matched.erase(std::unique(matched.begin(), matched.end()), matched.end());
  return matched;
}

}  // namespace edb
