// The header pass of a folder click, and the steps around the body pass.
#include "store/folder_opener.h"

#include "store/list_columns.h"

namespace edb {
namespace {

// The attachment table: never a folder's contents table, whatever the
// folder's identifier makes of its name.
constexpr std::u16string_view kAttachmentTable = u"1-23";

const FolderEntry* FolderOfTreeItem(const StoreSession& session, TreeItem item) {
  if (!item.valid()) return nullptr;
  for (const FolderEntry& folder : session.folders) {
    if (folder.tree_item == item) return &folder;
  }
  return nullptr;
}

void SetStatus(ExportContext& context, std::u16string status) {
  context.window.SetStatusText(status);
  context.session.open_folder.status_text = std::move(status);
}

}  // namespace

FolderHeaders ListFolderHeaders(ExportContext& context, TreeItem clicked, std::u16string_view item_text) {
  StoreSession& session = context.session;
  WindowPort& window = context.window;
  session.headers.clear();
  session.contacts.clear();
  session.open_folder.row_number = 0;
  session.open_folder.tree_item = clicked;

  const std::vector<ListColumn> columns = ListColumnsFor(std::u16string(item_text));
  window.SetListColumns(columns);
  window.ClearList();

  FolderHeaders headers;
  const FolderEntry* folder = FolderOfTreeItem(session, clicked);
  if (folder == nullptr) return headers;
  headers.folder = *folder;

  session.open_folder.folder_class = folder->container_class;
  window.EnableTree(false);
  window.EnableList(false);
  SetStatus(context, u"Status: Getting " + std::u16string(item_text) + u" Header Informations");
  window.ShowStatusPage(kFolderWaitPage);

  const std::optional<std::u16string>& table = headers.folder->contents_table_name;
  if (table && *table != kAttachmentTable) headers.export_result = ExportTableByName(context, *table);
  return headers;
}

void RunFolderBodyPass(ExportContext& context, const FolderHeaders& headers, std::u16string_view item_text,
                       FolderBodyPass* body_pass) {
  if (!headers.folder) return;
  if (body_pass != nullptr) {
    SetStatus(context, u"Status: Getting " + std::u16string(item_text) + u" Body & Attachment Informations");
    body_pass->Run(context, *headers.folder);
  }
  context.window.EnableList(true);
  context.window.EnableTree(true);
}

void FinishFolderOpen(ExportContext& context) {
  context.window.ShowStatusPage(kFolderDonePage);
  context.window.SetStatusText(u" ");
}

FolderHeaders OpenFolder(ExportContext& context, TreeItem clicked, std::u16string_view item_text,
                         FolderBodyPass* body_pass) {
  FolderHeaders headers = ListFolderHeaders(context, clicked, item_text);
  RunFolderBodyPass(context, headers, item_text, body_pass);
  FinishFolderOpen(context);
  return headers;
}

}  // namespace edb
