// Names by which the store marks its own mailboxes and folders, which the
// tree leaves out. All comparisons are exact and case-sensitive.
#pragma once

#include <string>

namespace edb {

// True when a mailbox display name begins with one of the system mailbox
// prefixes ("SMTP (", "Mailbox - SystemMailbox{", "Mailbox - /o=", "/o=",
// "Mailbox - System Attendant").
bool IsSystemMailboxName(const std::u16string& name);

// True when a folder display name is one of the store's system folders
// ("Top of Information Store", "Finder", "Spooler Queue", ...), whole text.
bool IsSystemFolderName(const std::u16string& name);

}  // namespace edb
