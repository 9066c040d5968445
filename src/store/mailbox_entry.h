// One mailbox shown in the tree: an entry of the session's mailbox list.
#pragma once

#include <string>

#include "store/tree_item.h"

namespace edb {

struct MailboxEntry {
  // The mailbox key (identifier text of "Q6764"), "Unknown" when absent.
  std::u16string key;
  // The tree label ("S3001"), "Unknown" when absent.
  std::u16string display_name;
  // The mailbox's item in the tree, directly under the root item.
  TreeItem tree_item;
};

}  // namespace edb
