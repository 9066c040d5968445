// The scan worker's body.
#include "app/ui/scan_flow.h"

#include <string>

#include "base/text_encoding.h"
#include "store/store_scan.h"
#include "app/ui/out_of_memory.h"
#include "app/ui/status_pages.h"
#include "app/ui/window_events.h"

namespace edb {
namespace {

void InsertRootItem(WindowContext& context) {
  context.tree.Clear();
  TreeItem root = context.window.InsertTreeItem(kTreeTop, Utf8ToUtf16(context.session.database_path), 0);
  context.window.ExpandTreeItem(root);
  context.tree.root = root;
  context.tree.last_inserted = root;
}

ScanOutcome ReportOpenFailure(WindowContext& context, const Status& error) {
  WindowPort& window = context.window;
  std::u16string reason = Utf8ToUtf16(error.reason().empty() ? "unknown error" : error.reason());
  window.SetStatusText(u"Status: Cannot open Exchange EDB File");
  window.SetProgress(0);
  window.ShowStatusPage(status_page::kScanFailed);
  window.ShowMessage(MessageKind::kError,
                     u"The file " + Utf8ToUtf16(context.session.database_path) +
                         u" could not be opened as an Exchange database.\n" + reason,
                     kMessageCaption);
  return ScanOutcome::kOpenFailed;
}

ScanOutcome ReadTables(WindowContext& context) {
  WindowPort& window = context.window;
  window.EnableTree(false);
  WindowEvents events(context);
  ReadContext reading = context.Reading(events);
  if (ReadStoreTables(reading) == ScanResult::kCancelled) return ScanOutcome::kCancelled;
  window.EnableTree(true);
  window.SetStatusText(u"Status: Scanning Completed");
  window.SetProgress(0);
  window.ShowStatusPage(status_page::kScanCompleted);
  window.ShowMessage(MessageKind::kInformation, kScanCompletedMessage, kMessageCaption);
  return ScanOutcome::kCompleted;
}

ScanOutcome Scan(WindowContext& context) {
  WindowPort& window = context.window;
  window.ClearTree();
  window.ClearList();
  InsertRootItem(context);
  window.ShowStatusPage(status_page::kRecoveryStarted);
  window.SetStatusText(u"Status: initialize Exchange EDB File");
  if (Status opened = OpenStore(context.session, context.corruption); !opened.ok()) {
    return ReportOpenFailure(context, opened);
  }
  window.SetStatusText(u"Status: Opening Exchange EDB File");
  return ReadTables(context);
}

}  // namespace

ScanOutcome ScanDatabase(WindowContext& context) {
  return EndingProcessWhenMemoryRunsOut(context.window, [&] { return Scan(context); });
}

}  // namespace edb
