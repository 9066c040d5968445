// The positions of the session's mailbox entries by key, so that attaching a
// folder to its mailboxes costs only its own matches instead of a walk over
// every mailbox of the store.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "store/mailbox_entry.h"

namespace edb {

class MailboxKeyIndex {
 public:
  // The positions in `mailboxes`, ascending, of the entries whose key
  // equals `key`. The index is rebuilt from `mailboxes` when it was
  // invalidated, when the list's size changed since it was built, or when
  // an indexed entry no longer carries its key.
  const std::vector<size_t>& Find(const std::vector<MailboxEntry>& mailboxes, const std::u16string& key);

  // Forgets the index; to be called whenever the mailbox list changes.
  void Invalidate() { valid_ = false; }

 private:
  void Build(const std::vector<MailboxEntry>& mailboxes);
  bool Holds(const std::vector<MailboxEntry>& mailboxes, const std::u16string& key,
             const std::vector<size_t>& positions) const;

  bool valid_ = false;
  size_t indexed_size_ = 0;
  std::unordered_map<std::u16string, std::vector<size_t>> positions_;
  const std::vector<size_t> none_;
};

}  // namespace edb
