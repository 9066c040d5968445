// Reading a folder's rows into the session.
#include "store/folder_rows.h"

namespace edb {
namespace {

// The attachment table: never a folder's contents table, whatever the
// folder's identifier makes of its name.
constexpr std::u16string_view kAttachmentTable = u"1-23";

}  // namespace

void ResetOpenFolder(StoreSession& session) {
  session.mail_rows.clear();
  session.contacts.clear();
  session.open_folder.row_number = 0;
}

WalkOutcome ReadFolderRows(ReadContext& context, const FolderEntry& folder) {
  context.session.open_folder.folder_class = folder.container_class;
  const std::optional<std::u16string>& table = folder.contents_table_name;
  if (!table || *table == kAttachmentTable) return WalkOutcome::kComplete;
  return WalkTableByName(context, *table);
}

}  // namespace edb
