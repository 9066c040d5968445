// One folder of a mailbox: an entry of the session's folder list.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace edb {

struct FolderEntry {
  // Key of the mailbox the folder belongs to; equals that MailboxEntry's key.
  std::u16string mailbox_key;
  // The tree label ("S3001").
  std::u16string display_name;
  // Position of the folder's mailbox in the session's mailboxes.
  size_t mailbox_index = 0;
  // Name of the table holding the folder's item rows ("1-91C1"); none when
  // the folder record carries no folder identifier.
  std::optional<std::u16string> contents_table_name;
  // "S3613" when it begins with "IPF." or "IPM.", otherwise "Folder".
  std::u16string container_class;
};

}  // namespace edb
