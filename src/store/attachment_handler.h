// The records of the attachment table "1-23" at scan time: each becomes an
// AttachmentEntry (its search key, display name and position). While a
// folder is saved, the attachment's data is written to the temporary folder
// instead.
#pragma once

#include <cstdint>

#include "store/column_positions.h"
#include "store/record_outcome.h"
#include "base/corruption_reporter.h"
#include "base/private_temp_folder.h"
#include "store/record_value.h"
#include "store/store_session.h"
#include "store/store_events.h"

namespace edb {

// Handles record `index` of "1-23": identifier = `columns.attachment_key`
// ("Q3f88") as big-endian identifier text; key = "0" + identifier ("0" alone
// without one, which matches no item); name = `columns.display_name`
// ("S3001") as value text, the identifier when absent.
//  - missing record or no values: kUnreadable;
//  - browse mode: appends AttachmentEntry (key, name, index); kHandled;
//  - save mode (session.open_folder.save_mode): the data value
//    (`columns.attachment_data`, "N3701") is written to `temp_folder` under
//    the name (nothing is written without a temp folder or data column) and
//    nothing is appended. A value that cannot be written is reported to
//    `corruption` and skipped; kHandled.
RecordOutcome HandleAttachmentRecord(StoreSession& session, CorruptionReporter& corruption,
                                     PrivateTempFolder* temp_folder, const RecordRef& record,
                                     const ColumnPositions& columns, int32_t index, StoreEvents& events);

}  // namespace edb
