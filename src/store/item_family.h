// Item families: how the open folder's container class decides what its
// rows are (mail, contacts, appointments, ...), and which mail message
// classes a folder listing shows.
#pragma once

#include <string>

namespace edb {

enum class ItemFamily { kNone, kMail, kContact, kAppointment, kNote, kActivity, kTask, kJournal };

// The container class given to ordinary mail folders.
inline const std::u16string kMailFolderClass = u"Folder";

// The open folder's class as the row handler keeps it: "IPF.Note" is
// replaced by "Folder"; every other class is kept as stored.
std::u16string OpenFolderClass(const std::u16string& container_class);

// Family by exact, case-sensitive comparison of an open folder class.
ItemFamily FamilyOfFolderClass(const std::u16string& open_folder_class);

// True for a message class a mail folder lists: every class a mail client
// shows, including none at all. Hidden configuration messages are left out:
// classes beginning "IPM.Microsoft.", "IPM.Configuration." or "IPM.Rule",
// and "IPM.ExtendedRule.Message".
bool IsListedMailClass(const std::u16string& message_class);

// "mail", "contact", "appointment", "note", "activity", "task", "journal",
// or "" for kNone.
const char* FamilyName(ItemFamily family);

}  // namespace edb
