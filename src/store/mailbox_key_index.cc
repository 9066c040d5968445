// Mailbox entries by key.
#include "store/mailbox_key_index.h"

namespace edb {

void MailboxKeyIndex::Build(const std::vector<MailboxEntry>& mailboxes) {
  positions_.clear();
  for (size_t i = 0; i < mailboxes.size(); ++i) positions_[mailboxes[i].key].push_back(i);
  indexed_size_ = mailboxes.size();
  valid_ = true;
}

bool MailboxKeyIndex::Holds(const std::vector<MailboxEntry>& mailboxes, const std::u16string& key,
                            const std::vector<size_t>& positions) const {
  for (size_t position : positions) {
    if (position >= mailboxes.size() || mailboxes[position].key != key) return false;
  }
  return true;
}

const std::vector<size_t>& MailboxKeyIndex::Find(const std::vector<MailboxEntry>& mailboxes,
                                                 const std::u16string& key) {
  if (!valid_ || indexed_size_ != mailboxes.size()) Build(mailboxes);
  auto found = positions_.find(key);
  if (found != positions_.end() && !Holds(mailboxes, key, found->second)) {
    Build(mailboxes);
    found = positions_.find(key);
  }
  return found == positions_.end() ? none_ : found->second;
}

}  // namespace edb
