// The records of the "Mailbox" table: every mailbox that is not one of the
// store's own becomes a MailboxEntry and an item directly under the tree's
// root item, in table order.
#pragma once

#include "store/column_positions.h"
#include "store/record_value.h"
#include "store/store_session.h"
#include "store/window_port.h"

namespace edb {

// The text stored for a mailbox key or name the record does not have.
inline constexpr std::u16string_view kUnknownText = u"Unknown";

// Handles one "Mailbox" record, reading `columns.mailbox_key` ("Q6764", big-
// endian identifier) and `columns.display_name` ("S3001"; the key when
// absent or unreadable):
//  - no record: -1;
//  - a record with neither key nor name, or whose name begins with a system
//    mailbox prefix (IsSystemMailboxName): skipped, 1;
//  - otherwise a tree item labelled with the name is inserted under the
//    session's mailbox parent item and a MailboxEntry (key, name, item) is
//    appended; an absent key is stored as "Unknown". Returns 1.
// Records with equal keys give one entry each.
int HandleMailboxRecord(StoreSession& session, const RecordRef& record, const ColumnPositions& columns,
                        WindowPort& window);

}  // namespace edb
