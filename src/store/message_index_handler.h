// The records of the "Msg" table at scan time: each becomes a MsgIndexEntry
// (the item's key, its attachment identifiers and the record's position), so
// that an item's full record can be fetched by position when its folder is
// opened.
#pragma once

#include <cstdint>

#include "store/column_positions.h"
#include "store/record_outcome.h"
#include "store/record_value.h"
#include "store/store_session.h"

namespace edb {

// Handles record `index` of "Msg": key = `columns.message_key` ("N67b0") as
// big-endian identifier text, text = `columns.attachment_ids` ("N67b3") as
// value text, both without default (none when absent or not readable that
// way). Appends the entry and returns kHandled; kUnreadable (nothing
// appended) when the record is missing or has no values.
RecordOutcome HandleMessageIndexRecord(StoreSession& session, const RecordRef& record,
                                       const ColumnPositions& columns, int32_t index);

}  // namespace edb
