// Attachment names of an item, matched by whole identifiers.
#include "store/attachment_names.h"

#include <string_view>
#include <unordered_set>

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

std::optional<std::u16string> AttachmentNamesOf(const std::vector<AttachmentEntry>& attachments,
                                                const std::u16string& identifier_text) {
  if (identifier_text.size() <= 15) return std::nullopt;
  std::unordered_set<std::u16string_view> identifiers;
  std::u16string_view text(identifier_text);
  for (size_t at = 0; at + kIdentifierDigits <= text.size(); at += kIdentifierDigits) {
    identifiers.insert(text.substr(at, kIdentifierDigits));
  }
  std::u16string names;
  for (const AttachmentEntry& attachment : attachments) {
    std::u16string padded = PaddedIdentifier(attachment.key);
    if (padded.empty() || identifiers.count(padded) == 0) continue;
    names += attachment.name.value_or(u"");
    names += u';';
  }
  return names;
}

}  // namespace edb
