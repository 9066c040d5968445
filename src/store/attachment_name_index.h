// Which attachments of the store belong to an item: the item's attachment-
// identifier text ("N67b3" as hexadecimal text) is a run of 8-byte
// identifiers, 16 digits each, and an attachment belongs to the item when
// its own identifier stands there as one of them. The names are looked up
// through an index of the store's attachments by identifier, so a folder of
// many items with attachments costs one look-up per identifier instead of a
// walk of every attachment per item.
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

  // The names of the item's attachments, in attachment-table order, each
  // followed by ";" ("a.txt;b.pdf;"), each attachment once; nullopt when the
  // identifier text has 15 characters or fewer (the item then has no
  // attachment names), "" when nothing matched.
  //
  // An attachment matches when the 16 hexadecimal digits of its identifier
  // (its key without the leading "0", padded with zeros on the left) stand in
  // `identifier_text` at a multiple of 16 digits: whole identifiers only,
  // never across two of them. An attachment without identifier (key "0")
  // matches nothing.
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
