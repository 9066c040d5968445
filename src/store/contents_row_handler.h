// The rows of a folder's contents table: each row is read value by value
// (column kind and byte order decide how), is announced as a row read (and
// whether it belongs in the folder's list) and, for mail and contacts,
// becomes a MessageEntry or ContactEntry of the session.
#pragma once

#include "base/corruption_reporter.h"
#include "base/private_temp_folder.h"
#include "store/record_outcome.h"
#include "store/record_value.h"
#include "store/store_session.h"
#include "store/store_events.h"

namespace edb {

// Value positions read together: the data at 39 is written to a file named by the text
// at 42 (or under its own text when 42 has none). Nothing names the columns
// that stand there, so the rule goes by value position, whatever the
// contents table's columns are.
inline constexpr int kContentsFileValuePosition = 39;
inline constexpr int kContentsFileNamePosition = 42;

// The longest column name, in UTF-16 units with its terminator, a list row
// may have.
inline constexpr size_t kMaxColumnNameUnits = 256;

struct ContentsRowContext {
  StoreSession& session;
  CorruptionReporter& corruption;
  // Where the value at position 39 is written; null: it is not.
  PrivateTempFolder* temp_folder = nullptr;
};

// Handles one row of the open folder (session.open_folder):
//  1. the row number goes up by 1;
//  2. every value is read by its column kind (column_kind.h) in the row's
//     byte order and the list columns are kept (list_row_texts.h); the key
//     ("N67b0") only from its identifier reading. At position 39 the value
//     is written to the temporary folder under the text at 42 (default:
//     the text at 39) when that is not empty; a failed write is reported
//     and the row still listed;
//  3. the open folder class "IPF.Note" becomes "Folder";
//  4. by the family of the open folder class, the row is announced through
//     `events.RowRead` with `listed` set when it belongs in the list:
//     - mail: rows whose message class IsListedMailClass are listed and
//       kept as a MessageEntry; other mail rows are announced only;
//     - contact: listed and kept as a ContactEntry;
//     - appointment, note, activity, task, journal: listed;
//     - any other class: nothing.
//     In save mode no row is listed except journal rows; entries are kept
//     as in browse mode.
// Returns kHandled; kUnreadable (nothing listed) when the record is missing
// or has no values, or a value's column name or type cannot be read or the
// name is longer than kMaxColumnNameUnits.
RecordOutcome HandleContentsRow(ContentsRowContext& context, const RecordRef& record, StoreEvents& events);

}  // namespace edb
