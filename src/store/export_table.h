// The table export: looks a table up by name, locates the columns its
// handler reads, and hands every record, in index order, to the handler that
// the table's name selects. Also the single-record export that fetches one
// Msg record by position for the item-content reader.
//
// A record that cannot be read or handled is reported through the context's
// CorruptionReporter and skipped; the export goes on with the next record.
// Running out of memory inside a handler ends the process (out_of_memory.h).
#pragma once

#include <cstdint>
#include <string_view>

#include "base/corruption_reporter.h"
#include "base/pause_gate.h"
#include "store/record_handlers.h"
#include "store/store_session.h"
#include "store/window_port.h"

namespace edb {

// What an export works with: the session whose database is read, the window
// the handlers and the progress bar report to, the handlers, where damage is
// reported, and the gate that can pause or cancel the work (none: never).
struct ExportContext {
  StoreSession& session;
  WindowPort& window;
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
//   every other name                         -> kNone (not exported)
RecordHandlerKind HandlerForTable(std::u16string_view table_name);

// The progress bar's sweep over the records of one export: the bar shows
// 0, 1, ..., 100 for the first 101 records, then 0 (instead of 100 again) and
// 1, ..., 100 for every further hundred.
class ProgressSweep {
 public:
  // Moves the bar for the next record.
  void Step(WindowPort& window) {
    window.SetProgress(counter_);
    if (counter_ == 100) {
      window.SetProgress(0);
      counter_ = 0;
    }
    ++counter_;
  }

 private:
  int counter_ = 0;
};

// Exports the table whose directory name equals `name` exactly. Returns 1
// when there is no such table (nothing happens) or when its export returned
// 1; -1 when the table cannot be opened or its export returned -1.
int ExportTableByName(ExportContext& context, std::u16string_view name);

// Exports every record of `table` to the handler its name selects:
// - the columns of the table's column set are located (column_positions.h);
// - a table without records returns 1 and leaves the progress bar alone;
//   one whose records cannot be counted is reported and returns -1;
// - a table whose name selects no handler returns -1 at its first record;
// - otherwise, for each record index from 0 up: the gate is passed (a
//   cancelled gate ends the export with -1), the progress bar steps, the
//   record is fetched and handed to the handler.
// Returns 1 when every record was handled, -1 when a record or column could
// not be read or handled (the rest are still exported) or when cancelled.
int ExportTable(ExportContext& context, const OpenedTable& table);

// Fetches record `index` of `table` and, when the table's name is exactly
// "Msg", hands it to the item-content reader. An unreadable record or a
// failing reader is reported. Returns 1.
int ExportMsgRecord(ExportContext& context, const OpenedTable& table, int32_t index);

}  // namespace edb
