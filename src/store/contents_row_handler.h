// The rows of a folder's contents table: each row is read value by value
// (column kind and byte order decide how), becomes one line of the message
// list for the open folder's item family and, for mail and contacts, a
// MessageEntry or ContactEntry of the session. In save mode the rows update
// the status line instead of the list.
#pragma once

#include "base/corruption_reporter.h"
#include "base/private_temp_folder.h"
#include "store/store_session.h"
#include "store/window_port.h"

namespace edb {

// Value positions read together: the data at 39 is exported under the name
// at 42 (or under its own text when 42 has none).
inline constexpr int kContentsExportPosition = 39;
inline constexpr int kContentsExportNamePosition = 42;

// The longest column name, in UTF-16 units with its terminator, a header row
// may have.
inline constexpr size_t kMaxColumnNameUnits = 256;

struct ContentsRowContext {
  StoreSession& session;
  CorruptionReporter& corruption;
  // Where the value at position 39 is exported; null: it is not.
  PrivateTempFolder* temp_folder = nullptr;
};

// Handles one header row of the open folder (session.open_folder):
//  1. the row number goes up by 1;
//  2. every value is read by its column kind (column_kind.h) in the row's
//     byte order and the header columns are kept (header_texts.h); the key
//     ("N67b0") only from its identifier reading. At position 39 the value
//     is exported to the temporary folder under the text at 42 (default:
//     the text at 39) when that is not empty; a failed export is reported
//     and the row still listed;
//  3. the open folder class "IPF.Note" becomes "Folder";
//  4. by the family of the open folder class:
//     - mail: rows whose message class IsListedMailClass get a list line and
//       a MessageEntry;
//     - contact: a list line and a ContactEntry;
//     - appointment, note, activity, task, journal: a list line;
//     - any other class: nothing.
//     In save mode no list line is added except for journal rows; mail rows
//     (whatever their class) set the status line to the open folder's
//     status text + "\ " + From text + "]", contact rows to it + "\ " +
//     subject + "]"; entries are appended as in browse mode.
// Returns 1; -1 (nothing listed) when the record is missing or has no
// values, or a value's column name or type cannot be read or the name is
// longer than kMaxColumnNameUnits.
int HandleContentsRow(ContentsRowContext& context, const RecordRef& record, WindowPort& window);

}  // namespace edb
