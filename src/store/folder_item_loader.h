// The folder item loader: after a folder's headers were listed, fetches the
// full content of every listed item from the Msg table. Each mail header
// (session.mail_rows) and each contact header (session.contacts) is joined by
// its key with every Msg record of that key (session.message_index, through
// a hash of the folder's keys: one walk of the index, never headers times
// records), and each such record is read by position to the
// item-content reader.
//
// In save mode (session.open_folder.save_mode) each item is handed to an
// ItemWriter as soon as it is read and then dropped from the content lists;
// a folder's mail headers are dropped when it is done.
#pragma once

#include <vector>

#include "store/body_chunk.h"
#include "store/table_walk.h"
#include "store/item_content.h"
#include "store/item_content_reader.h"

namespace edb {

// Where a save puts the items of the folder being saved.
class ItemWriter {
 public:
  virtual ~ItemWriter() = default;
  // A mail item just read, with the body chunks of its record (every body
  // column's, for the writer to choose).
  virtual void WriteMail(const ItemContent& item, const std::vector<const BodyChunk*>& chunks) = 0;
  // A contact just read.
  virtual void WriteContact(const ContactContent& contact) = 0;
};

// How loading a folder's items ended.
enum class LoadOutcome {
  // Every item was read, or there was nothing to load (no Msg table, a
  // folder class that has no items). A record that could not be read was
  // reported and skipped.
  kLoaded,
  // Nothing was loaded: no database is open, or save mode is set without a
  // writer.
  kNotStarted,
  // The Msg table could not be opened (reported); nothing was loaded.
  kMessageTableUnreadable,
  // The context's gate cancelled the load; the items read before stay.
  kCancelled,
};

// Loads the items of the open folder into `contents` through `reader`
// (which must append to `contents`). The branch is chosen by the open
// folder's class (session.open_folder.folder_class):
//   - mail ("Folder"): for each header in order, its sender, subject and
//     date become the reader's current header; for each index entry with
//     the header's key, in index order: the entry's key becomes the current
//     key, the progress position is counter + 1, the record is read; the
//     counter goes 0..99 and starts again at 0 after 99 (so the position climbs
//     1..100, falls to 0 and climbs again). The position starts and ends at 0.
//   - contacts ("IPF.Contact", "IPM.Contact"): the same join, the progress
//     position untouched;
//   - any other class: nothing is loaded.
// A record that cannot be read is reported and the load goes on. Records go
// to the reader whatever the context's handlers do with ItemContent.
LoadOutcome LoadFolderItems(ReadContext& context, ItemContentReader& reader, FolderContents& contents,
                    ItemWriter* writer = nullptr);

}  // namespace edb
