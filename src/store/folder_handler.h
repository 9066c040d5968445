// The records of the "Folders" table: every folder that is not one of the
// store's own becomes, under each mailbox of its key, a FolderEntry with its
// container class and contents table name.
#pragma once

#include "store/column_positions.h"
#include "store/mailbox_key_index.h"
#include "store/record_outcome.h"
#include "store/record_value.h"
#include "store/store_session.h"
#include "store/store_events.h"

namespace edb {

// The container class of folders whose "S3613" is not an "IPF." or "IPM."
// class.
inline constexpr std::u16string_view kPlainFolderClass = u"Folder";

// Handles one "Folders" record, reading `columns.folder_id` ("Q6748"),
// `mailbox_key` ("Q6764", default: the folder identifier), `display_name`
// ("S3001", default: the key) and `container_class` ("S3613", default: the
// name), identifiers big-endian:
//  - no record: kUnreadable;
//  - skipped (kHandled): a key or name that is absent or empty, a name equal to the
//    key (so every folder without a display name), a system folder name;
//  - otherwise, for every mailbox entry whose key is longer than 2
//    characters and equals the folder's key, in list order: a FolderEntry
//    (key, name, the mailbox's position, ContentsTableName of the
//    identifier — none without one —, class), announced through
//    `events.FolderAdded`.
//    A folder of no known mailbox is neither shown nor listed. Returns
//    kHandled.
// The class is kept when it begins with "IPF." or "IPM." (case-sensitive),
// otherwise it is "Folder". `mailbox_keys` indexes `session.mailboxes`.
RecordOutcome HandleFolderRecord(StoreSession& session, MailboxKeyIndex& mailbox_keys, const RecordRef& record,
                                 const ColumnPositions& columns, StoreEvents& events);

// "Folder" unless `stored_class` begins with "IPF." or "IPM.".
std::u16string FolderClassOf(const std::optional<std::u16string>& stored_class);

}  // namespace edb
