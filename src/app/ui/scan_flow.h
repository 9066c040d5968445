// The scan as the window shows it: the body of the scan worker. Opens the
// store and reads its store tables into the model (store_scan.h), showing
// the work on the window's tree, status line, progress bar, status pages and
// message boxes.
#pragma once

#include <string_view>

#include "app/ui/window_context.h"

namespace edb {

inline constexpr std::u16string_view kScanCompletedMessage = u"Analysis Completed sucessfully";

enum class ScanOutcome {
  kCompleted,   // the four tables were attempted; completion was shown
  kOpenFailed,  // the file is not a readable database; the error was shown
  kCancelled,   // the gate was cancelled; the scan stopped between records
};

// Scans `context.session.database_path`:
//  1. clears the tree and the list, inserts the root item (labelled with the
//     path) and shows the "Recovery Started!" page;
//  2. closes the previous database and empties the directory and all lists;
//  3. opens the file. When that fails the status line and an error box say
//     so (with libesedb's reason) and the scan ends with kOpenFailed; the
//     tree keeps the root item alone;
//  4. builds the directory, disables the tree and reads the four tables,
//     each whatever happened to the one before (a table that is absent is
//     skipped), each mailbox and folder becoming a tree item;
//  5. enables the tree, resets the progress bar, shows the completion page
//     and the message box, and returns kCompleted.
// A cancelled gate ends the scan at the next record or table with
// kCancelled, leaving what was added and touching the window no more (the
// one who cancelled shows the abort). The gate is not reset here.
ScanOutcome ScanDatabase(WindowContext& context);

}  // namespace edb
