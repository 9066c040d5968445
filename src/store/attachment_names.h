// Which attachments of the store belong to an item: the item's attachment-
// identifier text ("N67b3" as hexadecimal text) is a run of 8-byte
// identifiers, 16 digits each, and an attachment belongs to the item when
// its own identifier stands there as one of them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "store/attachment_entry.h"

namespace edb {

// The names of the item's attachments, in attachment-table order, each
// followed by ";" ("a.txt;b.pdf;"); nullopt when the identifier text has 15
// characters or fewer (the item then has no attachment names), "" when
// nothing matched.
//
// An attachment matches when the 16 hexadecimal digits of its identifier
// (its key without the leading "0", padded with zeros on the left) stand in
// `identifier_text` at a multiple of 16 digits: whole identifiers only,
// never across two of them. An attachment without identifier (key "0")
// matches nothing.
std::optional<std::u16string> AttachmentNamesOf(const std::vector<AttachmentEntry>& attachments,
                                                const std::u16string& identifier_text);

}  // namespace edb
