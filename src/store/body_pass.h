// The body pass of a folder click: right after the folder's headers were
// listed, the content lists are emptied and the folder item loader reads
// every listed item's Msg record into them (item content and body chunks).
//
//   FolderContents contents;               // lives as long as the window
//   ItemBodyPass body_pass(&contents);
//   OpenFolder(context, clicked, text, &body_pass);
#pragma once

#include "store/folder_item_loader.h"
#include "store/folder_opener.h"
#include "store/folder_contents.h"

namespace edb {

class ItemBodyPass : public FolderBodyPass {
 public:
  // Loads into `contents`; in save mode hands each item to `writer`. Both
  // must outlive the pass.
  explicit ItemBodyPass(FolderContents* contents, ItemWriter* writer = nullptr)
      : contents_(contents), writer_(writer) {}

  // Empties the content lists, then loads the open folder's items from the
  // session (its headers, message index, attachments and open folder
  // class) through the context.
  void Run(ExportContext& context, const FolderEntry& folder) override;

  // What the last run's LoadFolderItems returned (1 before any run).
  int result() const { return result_; }

 private:
  FolderContents* contents_;
  ItemWriter* writer_;
  int result_ = 1;
};

}  // namespace edb
