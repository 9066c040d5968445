// The records of the "Mailbox" table: every mailbox that is not one of the
// store's own becomes a MailboxEntry, in table order.
#pragma once

#include "store/column_positions.h"
#include "store/record_outcome.h"
#include "store/record_value.h"
#include "store/store_session.h"
#include "store/store_events.h"

namespace edb {

// The text stored for a mailbox key or name the record does not have.
inline constexpr std::u16string_view kUnknownText = u"Unknown";

// Handles one "Mailbox" record, reading `columns.mailbox_key` ("Q6764", big-
// endian identifier) and `columns.display_name` ("S3001"; the key when
// absent or unreadable):
//  - no record: kUnreadable;
//  - a record with neither key nor name, or whose name begins with a system
//    mailbox prefix (IsSystemMailboxName): skipped, kHandled;
//  - otherwise a MailboxEntry (key, name) is appended and announced through
//    `events.MailboxAdded`; an absent key is stored as "Unknown". Returns
//    kHandled.
// Records with equal keys give one entry each.
RecordOutcome HandleMailboxRecord(StoreSession& session, const RecordRef& record, const ColumnPositions& columns,
                                  StoreEvents& events);

}  // namespace edb
