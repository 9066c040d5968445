// The record handlers the table walk dispatches to: one method per kind of
// store table, plus the item-content reader that the single-record read
// calls. Each reads the record's values through the RecordRef (the record and
// the long-value source of its table) at the positions the walk located,
// and returns kHandled when the record was handled, kUnreadable otherwise
// (the mailbox and folder handlers fail only when given no record).
//
// Handlers run on the worker that walks the table and tell what they add to
// the model through `events`. The RecordRef is valid only during the call.
#pragma once

#include <cstdint>

#include "store/column_positions.h"
#include "store/record_outcome.h"
#include "store/record_value.h"
#include "store/store_events.h"

namespace edb {

// The handlers a table's records can go to; kNone: the table is not walked.
enum class RecordHandlerKind { kNone, kMailbox, kFolder, kMessageIndex, kAttachment, kContentsRow };

class RecordHandlers {
 public:
  virtual ~RecordHandlers() = default;

  // A record of "Mailbox": mailbox_key and display_name are set.
  virtual RecordOutcome Mailbox(const RecordRef& record, const ColumnPositions& columns, StoreEvents& events) = 0;
  // A record of "Folders": folder_id, mailbox_key, display_name,
  // container_class as far as the table has them.
  virtual RecordOutcome Folder(const RecordRef& record, const ColumnPositions& columns, StoreEvents& events) = 0;
  // A record of "Msg" at position `index`: message_key and attachment_ids.
  virtual RecordOutcome MessageIndex(const RecordRef& record, const ColumnPositions& columns, int32_t index,
                                     StoreEvents& events) = 0;
  // A record of "1-23" at position `index`: attachment_key, display_name,
  // attachment_data, attachment_file_name.
  virtual RecordOutcome Attachment(const RecordRef& record, const ColumnPositions& columns, int32_t index,
                                   StoreEvents& events) = 0;
  // A row of a folder's contents table (or of any other table the dispatch
  // gives to this handler).
  virtual RecordOutcome ContentsRow(const RecordRef& record, const ColumnPositions& columns, int32_t index,
                                    StoreEvents& events) = 0;
  // One record of "Msg", fetched by position, whose full content is wanted.
  virtual RecordOutcome ItemContent(const RecordRef& record, StoreEvents& events) = 0;
};

}  // namespace edb
