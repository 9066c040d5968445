// The target store of a save: a directory the user chose, laid out as mail
// software on Linux reads it:
//   <store>/<mailbox>/                 Maildir++ (the mailbox's Inbox at the
//                                      top, other mail folders as ".name")
//   <store>/<mailbox>/<folder>.mbox    with MailFormat::kMbox (mboxrd)
//   <store>/<mailbox>/<folder>/*.eml   with MailFormat::kEml
//   <store>/<mailbox>/contacts/<folder>/*.vcf   vCard 3.0, one per contact
//   <store>/<mailbox>/calendars/<folder>/*.ics  iCalendar, one per item
// Files are named by the item's key, so a rerun into the same store writes
// only what is missing; nothing is ever overwritten, and every file is
// complete or absent (written under a temporary name, then linked). An mbox
// file holds a whole folder and appears when the folder is finished.
//
// Items come folder by folder: writing to another folder (or Finish)
// finishes the one before. Two folders of one mailbox with the same name and
// kind get separate targets ("name (2)"). Not thread-safe: one save drives it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "base/status.h"
#include "export/calendar_item.h"
#include "export/contact_item.h"
#include "export/mail_item.h"
#include "export/new_file.h"

namespace edb {

enum class MailFormat { kMaildir, kMbox, kEml };

// "maildir", "mbox" or "eml"; nullopt for anything else.
std::optional<MailFormat> MailFormatOfName(std::string_view name);

// What a save wrote, and what it did not.
struct SaveCounts {
  int64_t messages = 0;        // mail items and notes written
  int64_t contacts = 0;        // cards written
  int64_t calendar_items = 0;  // appointments, tasks and journal entries written
  int64_t attachments = 0;     // attachments inside the messages written
  int64_t already_there = 0;   // items a previous run had written (left alone)
  int64_t skipped = 0;         // items (or attachments) lost to damage
};

// How an item write ended.
enum class ItemOutcome { kWritten, kAlreadyThere };

class TargetStore {
 public:
  // Creates `root` when missing and proves it writable. The error names the
  // target and the reason; nothing is written then.
  static Result<std::unique_ptr<TargetStore>> Open(const std::filesystem::path& root, MailFormat format);
  ~TargetStore();

  // Writes `item` into mail folder `folder` of mailbox `mailbox` (UTF-8
  // names as the store has them). Attachments that cannot be read are left
  // out and returned in `problems` (one line each, counted as skipped). A
  // failure is the target's (cannot write): the item is not there.
  Result<ItemOutcome> WriteMail(std::string_view mailbox, std::string_view folder, const MailItem& item,
                                std::vector<std::string>* problems);
  Result<ItemOutcome> WriteContact(std::string_view mailbox, std::string_view folder, const ContactItem& contact);
  // `stamp`: the DTSTAMP, the time of the save.
  Result<ItemOutcome> WriteCalendar(std::string_view mailbox, std::string_view folder, const CalendarItem& item,
                                    int64_t stamp);
  // Finishes the folder being written (an mbox file appears now).
  Status Finish();

  SaveCounts& counts() { return counts_; }
  const std::filesystem::path& root() const { return root_; }

 private:
  enum class FolderKind { kMail, kContacts, kCalendars };
  struct OpenFolder;

  TargetStore(std::filesystem::path root, MailFormat format);
  Status SwitchTo(std::string_view mailbox, std::string_view folder, FolderKind kind);
  Status OpenMaildir(OpenFolder* open, std::string_view folder);
  // A file stem for `key` unique within the open folder for this run.
  std::string StemFor(std::string_view key);
  Result<ItemOutcome> WriteWholeFile(const std::string& file_name, std::string_view bytes);

  std::filesystem::path root_;
  std::filesystem::path temp_;  // same file system, for everything but Maildir
  MailFormat format_;
  SaveCounts counts_;
  std::unique_ptr<OpenFolder> open_;
  // Target folders already used this run, by mailbox, kind and name.
  std::map<std::string, int> folder_uses_;
};

}  // namespace edb
