// The tree image of a mailbox or folder item, chosen by its display name
// (compared in upper case) or its container class (compared as stored).
#pragma once

#include <optional>
#include <string>

namespace edb {

// Image indexes of the tree's image list.
enum FolderImageIndex : int {
  kImagePlain = 0,
  kImageCalendar = 3,
  kImageContacts = 4,
  kImageDeletedItems = 5,
  kImageDrafts = 6,
  kImageInbox = 7,
  kImageJournal = 8,
  kImageJunk = 9,
  kImageNotes = 10,
  kImageOutbox = 11,
  kImageSentItems = 12,
  kImageTasks = 13,
  kImageSyncIssues = 14,
};

// The first matching row wins: a name match or a class match of the same
// row. No class (nullopt) matches no class. Anything else gives image 0.
int FolderImage(const std::u16string& label, const std::optional<std::u16string>& container_class);

// Upper case of ASCII letters; other characters unchanged.
std::u16string AsciiUpper(const std::u16string& text);

}  // namespace edb
