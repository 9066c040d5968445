// The attachment names of items, looked up through an index of the store's
// attachments by identifier, so a folder of many items with attachments costs
// one look-up per identifier instead of a walk of every attachment per item.
// Gives exactly what AttachmentNamesOf (attachment_names.h) gives.
#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "store/attachment_entry.h"

namespace edb {

class AttachmentNameIndex {
 public:
  // Indexes `attachments`, which must outlive the index and not change.
  explicit AttachmentNameIndex(const std::vector<AttachmentEntry>& attachments);

  // The names of the attachments whose identifiers stand in
  // `identifier_text`, as AttachmentNamesOf(attachments, identifier_text).
  std::optional<std::u16string> NamesOf(const std::u16string& identifier_text) const;

  // The attachments whose identifiers stand in `identifier_text`: positions
  // in the indexed list, ascending, each once (the order NamesOf names them).
  std::vector<size_t> PositionsOf(const std::u16string& identifier_text) const;

 private:
  const std::vector<AttachmentEntry>& attachments_;
  // 16-digit identifier -> positions in attachments_, ascending.
  std::unordered_map<std::u16string, std::vector<size_t>> by_identifier_;
};

}  // namespace edb
