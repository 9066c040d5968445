// The row pass of a folder click, and the steps around the body pass.
#include "app/ui/folder_flow.h"

#include "store/folder_rows.h"
#include "app/ui/list_columns.h"
#include "app/ui/out_of_memory.h"
#include "app/ui/window_events.h"

namespace edb {

void SetFolderStatus(WindowContext& context, std::u16string status) {
  context.window.SetStatusText(status);
  context.tree.open_folder_status = std::move(status);
}

FolderRows ListFolderRows(WindowContext& context, TreeItem clicked, std::u16string_view item_text) {
  WindowPort& window = context.window;
  ResetOpenFolder(context.session);
  context.tree.open_folder_item = clicked;

  const std::vector<ListColumn> columns = ListColumnsFor(std::u16string(item_text));
  window.SetListColumns(columns);
  window.ClearList();

  const std::optional<size_t> folder = context.tree.FolderOf(clicked);
  if (!folder || *folder >= context.session.folders.size()) return FolderRows{};
  return ReadRowsOf(context, context.session.folders[*folder], item_text);
}

FolderRows ReadRowsOf(WindowContext& context, const FolderEntry& folder, std::u16string_view item_text) {
  WindowPort& window = context.window;
  FolderRows rows;
  rows.folder = folder;
  window.EnableTree(false);
  window.EnableList(false);
  SetFolderStatus(context, u"Status: Getting " + std::u16string(item_text) + u" Header Informations");
  window.ShowStatusPage(kFolderWaitPage);

  WindowEvents events(context);
  ReadContext reading = context.Reading(events);
  rows.walk_outcome = EndingProcessWhenMemoryRunsOut(window, [&] { return ReadFolderRows(reading, *rows.folder); });
  return rows;
}

void RunFolderBodyPass(WindowContext& context, const FolderRows& rows, std::u16string_view item_text,
                       FolderBodyPass* body_pass) {
  if (!rows.folder) return;
  if (body_pass != nullptr) {
    SetFolderStatus(context, u"Status: Getting " + std::u16string(item_text) + u" Body & Attachment Informations");
    WindowEvents events(context);
    ReadContext reading = context.Reading(events);
    EndingProcessWhenMemoryRunsOut(context.window, [&] {
      body_pass->Run(reading, *rows.folder);
      return 0;
    });
  }
  context.window.EnableList(true);
  context.window.EnableTree(true);
}

void FinishFolderOpen(WindowContext& context) {
  context.window.ShowStatusPage(kFolderDonePage);
  context.window.SetStatusText(u" ");
}

FolderRows OpenFolder(WindowContext& context, TreeItem clicked, std::u16string_view item_text,
                      FolderBodyPass* body_pass) {
  FolderRows rows = ListFolderRows(context, clicked, item_text);
  RunFolderBodyPass(context, rows, item_text, body_pass);
  FinishFolderOpen(context);
  return rows;
}

FolderRows OpenFolderEntry(WindowContext& context, const FolderEntry& folder, FolderBodyPass* body_pass) {
  ResetOpenFolder(context.session);
  context.tree.open_folder_item = TreeItem{};
  const std::vector<ListColumn> columns = ListColumnsFor(folder.display_name);
  context.window.SetListColumns(columns);
  context.window.ClearList();
  FolderRows rows = ReadRowsOf(context, folder, folder.display_name);
  RunFolderBodyPass(context, rows, folder.display_name, body_pass);
  FinishFolderOpen(context);
  return rows;
}

}  // namespace edb
