// What the store reader tells whoever drives it while it reads: the progress
// of the work in hand, each store table the scan begins and each mailbox and
// folder it adds to the model,
// and each row of a folder's contents table. The reader itself shows
// nothing; the window's flow turns these events into tree items, list rows,
// status texts and the progress bar, the command line into its output, and
// tests record them.
//
// Events are called on the thread that reads the store, in reading order.
// Every method has an empty default, so a listener overrides only what it
// uses.
#pragma once

#include <cstddef>

#include "store/item_family.h"
#include "store/list_row.h"

namespace edb {

// The store tables a scan reads, in the order it reads them: folders attach
// to mailboxes that already exist.
enum class StoreTable { kMailboxes, kFolders, kMessageIndex, kAttachments };

class StoreEvents {
 public:
  virtual ~StoreEvents() = default;

  // The position of the work in hand, 0 to 100. A table walk moves it once
  // per record (0, 1, ..., 100, then 0 and 1, ..., 100 again for every
  // further hundred), as does writing a long value out per segment, and
  // loading a mail folder's items per item.
  virtual void Progress(int /*position*/) {}

  // The scan begins reading `table`.
  virtual void TableStarted(StoreTable /*table*/) {}

  // Mailbox `index` of the session's mailboxes was just added.
  virtual void MailboxAdded(size_t /*index*/) {}
  // Folder `index` of the session's folders was just added (under the
  // mailbox its entry names).
  virtual void FolderAdded(size_t /*index*/) {}

  // A row of the open folder's contents table was read. `listed`: the row
  // belongs in the folder's list (its class is one the list shows and the
  // folder is not being saved); otherwise it was only read (a save shows
  // its progress by the row's sender or subject).
  virtual void RowRead(ItemFamily /*family*/, const ListRow& /*row*/, bool /*listed*/) {}
};

// Listens to nothing.
inline StoreEvents& NoStoreEvents() {
  static StoreEvents none;
  return none;
}

}  // namespace edb
