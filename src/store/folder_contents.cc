// Content lists of the opened folder, found by key.
#include "store/folder_contents.h"

namespace edb {

void FolderContents::Clear() {
  items_.clear();
  contacts_.clear();
  chunks_.Clear();
  first_item_.clear();
  first_contact_.clear();
}

void FolderContents::AddItem(ItemContent item) {
  if (item.key) first_item_.try_emplace(*item.key, items_.size());
  items_.push_back(std::move(item));
}

void FolderContents::AddContact(ContactContent contact) {
  if (contact.key()) first_contact_.try_emplace(*contact.key(), contacts_.size());
  contacts_.push_back(std::move(contact));
}

const ItemContent* FolderContents::FirstItem(std::u16string_view key) const {
  auto it = first_item_.find(std::u16string(key));
  return it == first_item_.end() ? nullptr : &items_[it->second];
}

const ContactContent* FolderContents::FirstContact(std::u16string_view key) const {
  auto it = first_contact_.find(std::u16string(key));
  return it == first_contact_.end() ? nullptr : &contacts_[it->second];
}

std::vector<const BodyChunk*> FolderContents::ChunksOf(const ItemContent& item) const {
  std::vector<const BodyChunk*> found;
  const std::vector<BodyChunk>& all = chunks_.chunks();
  for (size_t i = item.chunks.first; i < item.chunks.first + item.chunks.count && i < all.size(); ++i) {
    found.push_back(&all[i]);
  }
  return found;
}

}  // namespace edb
