// One folder shown in the tree: an entry of the session's folder list.
#pragma once

#include <optional>
#include <string>

#include "store/tree_item.h"

namespace edb {

struct FolderEntry {
  // Key of the mailbox the folder belongs to; equals that MailboxEntry's key.
  std::u16string mailbox_key;
  // The tree label ("S3001").
  std::u16string display_name;
  // The folder's item in the tree, under its mailbox's item.
  TreeItem tree_item;
  // Name of the table holding the folder's item rows ("1-91C1"); none when
  // the folder record carries no folder identifier.
  std::optional<std::u16string> contents_table_name;
  // "S3613" when it begins with "IPF." or "IPM.", otherwise "Folder".
  std::u16string container_class;
};

}  // namespace edb
