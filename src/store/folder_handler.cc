// Folder records to folder entries, one under each mailbox of their key.
#include "store/folder_handler.h"

#include "store/contents_table_name.h"
#include "store/located_values.h"
#include "store/system_names.h"

namespace edb {
namespace {

constexpr size_t kShortestMailboxKey = 3;

bool IsEmpty(const std::optional<std::u16string>& text) { return !text || text->empty(); }

}  // namespace

std::u16string FolderClassOf(const std::optional<std::u16string>& stored_class) {
  if (stored_class && (stored_class->starts_with(u"IPF.") || stored_class->starts_with(u"IPM."))) {
    return *stored_class;
  }
  return std::u16string(kPlainFolderClass);
}

RecordOutcome HandleFolderRecord(StoreSession& session, MailboxKeyIndex& mailbox_keys, const RecordRef& record,
                                 const ColumnPositions& columns, StoreEvents& events) {
  if (record.record == nullptr) return RecordOutcome::kUnreadable;
  std::optional<std::u16string> id = IdentifierAt(record, columns.folder_id, ByteOrder::kBigEndian, std::nullopt);
  std::optional<std::u16string> key = IdentifierAt(record, columns.mailbox_key, ByteOrder::kBigEndian, id);
  std::optional<std::u16string> name = ValueTextAt(record, columns.display_name, key);
  std::u16string folder_class = FolderClassOf(ValueTextAt(record, columns.container_class, name));
  if (IsEmpty(key) || IsEmpty(name) || *name == *key) return RecordOutcome::kHandled;
  if (IsSystemFolderName(*name)) return RecordOutcome::kHandled;
  if (key->size() < kShortestMailboxKey) return RecordOutcome::kHandled;

  std::optional<std::u16string> table = id ? ContentsTableName(*id) : std::nullopt;
  // Copied: a listener may look at the lists while folders are added.
  const std::vector<size_t> mailboxes = mailbox_keys.Find(session.mailboxes, *key);
  for (size_t position : mailboxes) {
    session.folders.push_back(FolderEntry{*key, *name, position, table, folder_class});
    events.FolderAdded(session.folders.size() - 1);
  }
  return RecordOutcome::kHandled;
}

}  // namespace edb
