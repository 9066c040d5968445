// The content lists of the opened folder: the ItemContent of every mail
// record and the ContactContent of every contact record the body pass read,
// and the body chunks of those records. They belong to the folder opened
// last and are emptied when the next folder is opened, so opening a folder
// twice never doubles what is shown for a key.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "store/body_chunk.h"
#include "store/item_content.h"

namespace edb {

class FolderContents {
 public:
  // Empties every list.
  void Clear();

  // Appends `item`, whose chunk range names the chunks its record added to
  // body_chunks().
  void AddItem(ItemContent item);
  void AddContact(ContactContent contact);

  // The first record appended with key `key`, or null. A key with two Msg
  // records has two records; the first loaded one is the one shown.
  const ItemContent* FirstItem(std::u16string_view key) const;
  const ContactContent* FirstContact(std::u16string_view key) const;

  // The body chunks of `item` (one of items()), in record order.
  std::vector<const BodyChunk*> ChunksOf(const ItemContent& item) const;

  const std::vector<ItemContent>& items() const { return items_; }
  const std::vector<ContactContent>& contacts() const { return contacts_; }
  const BodyChunkList& chunks() const { return chunks_; }
  // Where body extraction appends the chunks of the record being read.
  BodyChunkList* body_chunks() { return &chunks_; }

 private:
  std::vector<ItemContent> items_;
  std::vector<ContactContent> contacts_;
  BodyChunkList chunks_;
  std::unordered_map<std::u16string, size_t> first_item_;
  std::unordered_map<std::u16string, size_t> first_contact_;
};

}  // namespace edb
