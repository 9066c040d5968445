// Saving folders of a scanned store into a target store, without a toolkit:
// what the window's Save command runs on its save worker and what
// `edbrecover export` runs. For each folder to save, in order:
//   - mail and contact folders are opened in save mode: every item is read
//     from the store and written as soon as it is read (message or card),
//     then dropped, so memory does not grow with the folder;
//   - appointment, task and journal folders become iCalendar items and notes
//     messages, from their list rows (which is all the store reader keeps
//     of them).
// The status line and progress bar move as in a folder load; the message
// list is not touched. Items the damaged store cannot give are reported
// (through the context's reporter) and counted; the save goes on. Stop goes
// through the context's pause gate: a cancelled gate ends the save after the
// item being written. A target that cannot be written ends the save with
// one message naming it.
//
//   SaveRequest request{target_directory, MailFormat::kMaildir, folders};
//   SaveSummary summary = RunSave(context, request, &observer);   // save worker
//   window.ShowMessage(kInformation, SaveSummaryText(summary), caption);
//
// Runs on one worker thread; the observer is called on that thread.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "export/target_store.h"
#include "app/ui/window_context.h"
#include "store/folder_entry.h"

namespace edb {

// What Stop asks while a save runs, and the page shown when it is stopped.
inline constexpr std::u16string_view kSaveStopQuestion = u"Do you want to stop EDB to MSG Conversion process ?";
inline constexpr std::u16string_view kSaveAbortedPage = u"<div align=\"center\"><h1 >Saving Aborted by user...</h1></div>";

struct SaveFolder {
  std::u16string mailbox_name;  // the target mailbox: the store mailbox's display name
  FolderEntry folder;           // a copy: the session's lists change while folders open
};

struct SaveRequest {
  std::filesystem::path target;  // the target store's directory (created when missing)
  MailFormat format = MailFormat::kMaildir;
  std::vector<SaveFolder> folders;
  // Items expected in all (for progress); 0 when not known.
  int64_t expected_items = 0;
};

struct SaveSummary {
  SaveCounts counts;
  int64_t items_done = 0;  // items handled: written, already there or skipped
  bool stopped = false;    // Stop cancelled the save
  Status failure;          // the target could not be written (the save ended)
  // 0: every item written; 2: items were skipped for damage; 1: nothing
  // could be written (the target failed).
  int ExitCode() const;
};

class SaveObserver {
 public:
  virtual ~SaveObserver() = default;
  // After each item (written, already there or lost).
  virtual void ItemDone(const SaveSummary& so_far, int64_t expected_items) = 0;
  // A folder begins.
  virtual void FolderStarted(const SaveFolder& folder) = 0;
};

// The folders of the scanned tree to save: every folder with a contents
// table of every mailbox whose display name is in `mailboxes` (all when
// empty), plus the folders named "mailbox/folder" in `folder_specs`
// (matched against display names). Mailboxes in scan order.
std::vector<SaveFolder> FoldersToSave(const StoreSession& session, const std::vector<std::u16string>& mailboxes,
                                      const std::vector<std::u16string>& folder_specs);

SaveSummary RunSave(WindowContext& context, const SaveRequest& request, SaveObserver* observer);

// "Saved 40 messages, 6 contacts, 8 calendar items and 10 attachments to DIR.
// 0 items skipped." (with the already-present count and Stop or failure).
std::string SaveSummaryText(const SaveSummary& summary, const std::filesystem::path& target);

}  // namespace edb
