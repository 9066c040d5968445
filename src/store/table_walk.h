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
#include "store/record_outcome.h"
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

// How a walk over a table's records ended. Whatever the outcome, every
// damaged object was already reported where it was found.
enum class WalkOutcome {
  // Every record was handled, or there was nothing to walk.
  kComplete,
  // Some record or column could not be read or handled; it was skipped and
  // every other record was still handled. Also a table whose name selects no
  // handler: its records were not handled.
  kRecordsSkipped,
  // The gate cancelled the walk; the records after that point were not read.
  kCancelled,
  // The table could not be opened or its records counted; nothing was read.
  kTableUnreadable,
};

// Walks the table whose directory name equals `name` exactly. kComplete when
// there is no such table (nothing happens); kTableUnreadable when it cannot
// be opened; otherwise what its walk returned.
WalkOutcome WalkTableByName(ReadContext& context, std::u16string_view name);

// Hands every record of `table` to the handler its name selects:
// - the columns of the table's column set are located (column_positions.h);
//   a column without a name makes the walk kRecordsSkipped;
// - a table without records leaves the progress position alone; one whose
//   records cannot be counted is reported and gives kTableUnreadable (as
//   does a table given without handle or name);
// - a table whose name selects no handler gives kRecordsSkipped at its first
//   record;
// - otherwise, for each record index from 0 up: the gate is passed (a
//   cancelled gate ends the walk with kCancelled), the progress position
//   steps, the record is fetched and handed to the handler; a record that
//   cannot be fetched or handled is reported and skipped (kRecordsSkipped).
WalkOutcome WalkTable(ReadContext& context, const OpenedTable& table);

// Fetches record `index` of `table` and, when the table's name is exactly
// "Msg", hands it to the item-content reader. kUnreadable, reported, when
// the record cannot be fetched or the reader cannot read it; kHandled
// otherwise (for a table other than "Msg" the fetched record is left
// alone; a table without handle reads nothing).
RecordOutcome ReadMsgRecord(ReadContext& context, const OpenedTable& table, int32_t index);

}  // namespace edb
