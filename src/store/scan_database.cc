// The scan worker's body.
#include "store/scan_database.h"

#include <new>
#include <string>

#include "store/out_of_memory.h"
#include "store/status_pages.h"
#include "store/table_directory.h"
#include "base/text_encoding.h"

namespace edb {
namespace {

struct StoreTableStep {
  std::u16string_view status;
  std::u16string_view table;
};

// The store tables in the order they must be read: folders attach to
// mailboxes that already exist.
constexpr StoreTableStep kStoreTables[] = {
    {u"Status: Getting MailBox List", u"Mailbox"},
    {u"Status: Getting Mailbox Folder List", u"Folders"},
    {u"Status: Getting Message Informations", u"Msg"},
    {u"Status: Getting Attachment Informations", u"1-23"},
};

bool Cancelled(const ExportContext& context) { return context.gate != nullptr && context.gate->cancelled(); }

void InsertRootItem(ExportContext& context) {
  StoreSession& session = context.session;
  TreeItem root = context.window.InsertTreeItem(kTreeTop, Utf8ToUtf16(session.database_path), 0);
  context.window.ExpandTreeItem(root);
  session.root_item = root;
  session.mailbox_parent_item = root;
  session.last_inserted_item = root;
}

ScanOutcome ReportOpenFailure(ExportContext& context, const EsedbError& error) {
  WindowPort& window = context.window;
  std::u16string reason = Utf8ToUtf16(error.has_error() ? error.Message() : "unknown error");
  window.SetStatusText(u"Status: Cannot open Exchange EDB File");
  window.SetProgress(0);
  window.ShowStatusPage(status_page::kScanFailed);
  window.ShowMessage(MessageKind::kError,
                     u"The file " + Utf8ToUtf16(context.session.database_path) +
                         u" could not be opened as an Exchange database.\n" + reason,
                     kMessageCaption);
  return ScanOutcome::kOpenFailed;
}

ScanOutcome ExportStoreTables(ExportContext& context) {
  WindowPort& window = context.window;
  window.EnableTree(false);
  for (const StoreTableStep& step : kStoreTables) {
    if (Cancelled(context)) return ScanOutcome::kCancelled;
    window.SetStatusText(step.status);
    ExportTableByName(context, step.table);
  }
  if (Cancelled(context)) return ScanOutcome::kCancelled;
  window.EnableTree(true);
  window.SetStatusText(u"Status: Scanning Completed");
  window.SetProgress(0);
  window.ShowStatusPage(status_page::kScanCompleted);
  window.ShowMessage(MessageKind::kInformation, kScanCompletedMessage, kMessageCaption);
  return ScanOutcome::kCompleted;
}

ScanOutcome Scan(ExportContext& context) {
  StoreSession& session = context.session;
  WindowPort& window = context.window;
  window.ClearTree();
  window.ClearList();
  InsertRootItem(context);
  window.ShowStatusPage(status_page::kRecoveryStarted);
  session.CloseDatabase();
  session.ClearLists();
  window.SetStatusText(u"Status: initialize Exchange EDB File");
  EsedbError error;
  if (!session.OpenDatabase(context.corruption, &error)) return ReportOpenFailure(context, error);
  window.SetStatusText(u"Status: Opening Exchange EDB File");
  BuildTableDirectory(session, context.corruption);
  return ExportStoreTables(context);
}

}  // namespace

ScanOutcome ScanDatabase(ExportContext& context) {
  try {
    return Scan(context);
  } catch (const std::bad_alloc&) {
    EndProcessOutOfMemory(context.window, kOutOfMemoryMessage);
  }
}

}  // namespace edb
