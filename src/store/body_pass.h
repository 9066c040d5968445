// The body pass of a folder click: right after the folder's rows were
// read, the content lists are emptied and the folder item loader reads
// every listed item's Msg record into them (item content and body chunks).
//
//   FolderContents contents;               // lives as long as its reader
//   ItemBodyPass body_pass(&contents);
//   OpenFolder(window_context, clicked, text, &body_pass);  // the window's folder flow
#pragma once

#include "store/folder_contents.h"
#include "store/folder_entry.h"
#include "store/folder_item_loader.h"

namespace edb {

// The pass that loads the items of a folder whose rows were just read (the
// session's `mail_rows` or `contacts`). The folder flow runs it on the
// folder worker right after the rows, before the folder is shown as open.
class FolderBodyPass {
 public:
  virtual ~FolderBodyPass() = default;
  virtual void Run(ReadContext& context, const FolderEntry& folder) = 0;
};

class ItemBodyPass : public FolderBodyPass {
 public:
  // Loads into `contents`; in save mode hands each item to `writer`. Both
  // must outlive the pass.
  explicit ItemBodyPass(FolderContents* contents, ItemWriter* writer = nullptr)
      : contents_(contents), writer_(writer) {}

  // Empties the content lists, then loads the open folder's items from the
  // session (its headers, message index, attachments and open folder
  // class) through the context.
  void Run(ReadContext& context, const FolderEntry& folder) override;

  // How the last run's LoadFolderItems ended (kLoaded before any run).
  LoadOutcome outcome() const { return outcome_; }

 private:
  FolderContents* contents_;
  ItemWriter* writer_;
  LoadOutcome outcome_ = LoadOutcome::kLoaded;
};

}  // namespace edb
