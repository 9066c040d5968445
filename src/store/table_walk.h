// The table walk: looks a table up by name, locates the columns its
// handler reads, and hands every record, in index order, to the handler that
// the table's name selects. Also the single-record read that fetches one
// Msg record by position for the item-content reader.
//
// A record that cannot be read or handled is reported through the context's
// CorruptionReporter and skipped; the walk goes on with the next record.
// Running out of memory inside a handler throws MemoryExhausted
// (memory_exhausted.h) out of the walk.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/corruption_reporter.h"
#include "base/pause_gate.h"
#include "store/record_handlers.h"
#include "store/store_session.h"
#include "store/store_events.h"

namespace edb {

// What a walk works with: the session whose database is read, the listener
// told of progress and of what the handlers add, the handlers, where damage
// is reported, and the gate that can pause or cancel the work (none: never).
struct ReadContext {
  StoreSession& session;
  StoreEvents& events;
  RecordHandlers& handlers;
  CorruptionReporter& corruption;
  PauseGate* gate = nullptr;
};

// The handler a table's records go to, chosen by the table's exact name:
//   "1-23"                                   -> kAttachment
//   any other name beginning with "1-"       -> kContentsRow
//   "Msg"                                    -> kMessageIndex
//   "Folders"                                -> kFolder
//   "Mailbox"                                -> kMailbox
//   any name of length other than 3, 6, 7, 12, 14 and 16 -> kContentsRow
//   every other name                         -> kNone (not walked)
RecordHandlerKind HandlerForTable(std::u16string_view table_name);

// The progress sweep over the records of one walk: the position goes
// 0, 1, ..., 100 for the first 101 records, then 0 (instead of 100 again) and
// 1, ..., 100 for every further hundred.
class ProgressSweep {
 public:
  // Moves the position for the next record.
  void Step(StoreEvents& events) {
    events.Progress(counter_);
    if (counter_ == 100) {
      events.Progress(0);
      counter_ = 0;
    }
    ++counter_;
  }

 private:
  int counter_ = 0;
};

// Walks the table whose directory name equals `name` exactly. Returns 1
// when there is no such table (nothing happens) or when its walk returned
// 1; -1 when the table cannot be opened or its walk returned -1.
int WalkTableByName(ReadContext& context, std::u16string_view name);

// Hands every record of `table` to the handler its name selects:
// - the columns of the table's column set are located (column_positions.h);
// - a table without records returns 1 and leaves the progress position alone;
//   one whose records cannot be counted is reported and returns -1;
// - a table whose name selects no handler returns -1 at its first record;
// - otherwise, for each record index from 0 up: the gate is passed (a
//   cancelled gate ends the walk with -1), the progress position steps, the
//   record is fetched and handed to the handler.
// Returns 1 when every record was handled, -1 when a record or column could
// not be read or handled (the rest are still handled) or when cancelled.
int WalkTable(ReadContext& context, const OpenedTable& table);

// Fetches record `index` of `table` and, when the table's name is exactly
// "Msg", hands it to the item-content reader. An unreadable record or a
// failing reader is reported. Returns 1.
int ReadMsgRecord(ReadContext& context, const OpenedTable& table, int32_t index);

}  // namespace edb
