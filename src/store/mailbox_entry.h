// One mailbox of the store: an entry of the session's mailbox list.
#pragma once

#include <string>


namespace edb {

struct MailboxEntry {
  // The mailbox key (identifier text of "Q6764"), "Unknown" when absent.
  std::u16string key;
  // The tree label ("S3001"), "Unknown" when absent.
  std::u16string display_name;
};

}  // namespace edb
