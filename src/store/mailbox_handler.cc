// Mailbox records to mailbox entries.
#include "store/mailbox_handler.h"

#include "store/located_values.h"
#include "store/system_names.h"

namespace edb {

RecordOutcome HandleMailboxRecord(StoreSession& session, const RecordRef& record, const ColumnPositions& columns,
                                  StoreEvents& events) {
  if (record.record == nullptr) return RecordOutcome::kUnreadable;
  std::optional<std::u16string> key = IdentifierAt(record, columns.mailbox_key, ByteOrder::kBigEndian, std::nullopt);
  std::optional<std::u16string> name = ValueTextAt(record, columns.display_name, key);
  if (!name) name = key;  // an unreadable name: shown by its key like a missing one
  if (!name) return RecordOutcome::kHandled;  // neither a name nor a key: nothing to show it by
  if (IsSystemMailboxName(*name)) return RecordOutcome::kHandled;
  session.mailboxes.push_back(MailboxEntry{key.value_or(std::u16string(kUnknownText)), *name});
  events.MailboxAdded(session.mailboxes.size() - 1);
  return RecordOutcome::kHandled;
}

}  // namespace edb
