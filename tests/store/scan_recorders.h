// Recorders for the scan and table-export tests: a window that keeps every
// call in order, record handlers that keep every record they are given, and
// a corruption reporter that keeps every report.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "store/corruption_reporter.h"
#include "store/record_handlers.h"
#include "store/window_port.h"

namespace edbtest {

// Every call as one line of text, e.g. "status Status: Getting MailBox List",
// "progress 0", "insert 0 <label> 0 -> 1", "expand 1", "tree off",
// "page <html>", "message info <text>".
class RecordingWindow : public edb::WindowPort {
 public:
  void SetStatusText(std::u16string_view text) override;
  void SetProgress(int position) override;
  void ClearTree() override;
  edb::TreeItem InsertTreeItem(edb::TreeItem parent, std::u16string_view label, int image) override;
  void ExpandTreeItem(edb::TreeItem item) override;
  void EnableTree(bool enabled) override;
  void ClearList() override;
  void SetListColumns(std::span<const edb::ListColumn> columns) override;
  int AppendListRow(int image) override;
  void SetListCell(int row, int column, std::u16string_view text) override;
  void EnableList(bool enabled) override;
  void ShowStatusPage(std::u16string_view html) override;
  void ShowMessage(edb::MessageKind kind, std::u16string_view text, std::u16string_view caption) override;

  // The calls whose line starts with `prefix` + " ", without that prefix.
  std::vector<std::string> Calls(const std::string& prefix) const;
  // The positions given to SetProgress, in order.
  std::vector<int> ProgressPositions() const;

  std::vector<std::string> calls;

 private:
  int64_t next_item_ = 1;
  int rows_ = 0;
};

// One record handed to a handler.
struct HandledRecord {
  edb::RecordHandlerKind kind = edb::RecordHandlerKind::kNone;  // kNone for ItemContent
  int32_t index = -1;
  edb::ColumnPositions columns;
};

// Keeps every call; returns 1 unless `result` says otherwise. `on_record`
// runs inside every call (after it is recorded) and may act on the test.
class RecordingHandlers : public edb::RecordHandlers {
 public:
  int Mailbox(const edb::RecordRef& record, const edb::ColumnPositions& columns, edb::WindowPort& window) override;
  int Folder(const edb::RecordRef& record, const edb::ColumnPositions& columns, edb::WindowPort& window) override;
  int MessageIndex(const edb::RecordRef& record, const edb::ColumnPositions& columns, int32_t index,
                   edb::WindowPort& window) override;
  int Attachment(const edb::RecordRef& record, const edb::ColumnPositions& columns, int32_t index,
                 edb::WindowPort& window) override;
  int ContentsRow(const edb::RecordRef& record, const edb::ColumnPositions& columns, int32_t index,
                  edb::WindowPort& window) override;
  int ItemContent(const edb::RecordRef& record, edb::WindowPort& window) override;

  // The indexes handed to handlers of `kind`, in order.
  std::vector<int32_t> Indexes(edb::RecordHandlerKind kind) const;

  std::vector<HandledRecord> records;
  std::function<int(const HandledRecord&)> result;
  std::function<void(const HandledRecord&)> on_record;

 private:
  int Keep(edb::RecordHandlerKind kind, const edb::RecordRef& record, const edb::ColumnPositions& columns,
           int32_t index);
};

class RecordingCorruption : public edb::CorruptionReporter {
 public:
  void Corruption(std::string_view where, std::string_view reason) override;
  std::vector<std::string> reports;  // "where: reason"
};

}  // namespace edbtest
