// The content of one item of the opened folder, as the item-content reader
// builds it from the item's Msg record: an ItemContent for a mail item, a
// ContactContent for a contact. The preview and the writers read them.
#pragma once

#include <cstddef>
#include <vector>
#include <optional>
#include <string>

#include "store/body_chunk.h"
#include "store/contact_fields.h"

namespace edb {

// The body chunks one Msg record produced: `count` chunks of the folder's
// chunk list, starting at `first`.
struct ChunkRange {
  size_t first = 0;
  size_t count = 0;
};

struct ItemContent {
  // The record's "N67b0" text (the item's key); none when it had none.
  std::optional<std::u16string> key;
  // The kind of this record's own body; kEmpty when it has none.
  BodyKind body_kind = BodyKind::kEmpty;
  // The addresses of "N67b4" ("a@x.com,b@y.com,"), or the "S8299" text when
  // they cannot be extracted; none when the record has neither.
  std::optional<std::u16string> recipients;
  // The attachment names, each followed by ";"; none when the item has no
  // attachment identifiers or none of them names an attachment.
  std::optional<std::u16string> attachments;
  // The attachments named in `attachments`, in the same order, as positions
  // in the scan's attachment list: what a save reads their names and data by.
  std::vector<size_t> attachment_entries;
  // The texts of the header this record was loaded for.
  std::u16string sender;
  std::u16string subject;
  std::u16string date;
  // This record's body chunks (every body column's, not only the one shown).
  ChunkRange chunks;
};

struct ContactContent {
  // Slot 1 the key, slot 67 the contact HTML, the contact fields in their
  // slots (contact_fields.h); every other slot empty.
  ContactSlots slots;

  const std::optional<std::u16string>& key() const { return slots[kContactKeySlot]; }
  const std::optional<std::u16string>& html() const { return slots[kContactHtmlSlot]; }
};

}  // namespace edb
