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
#include "store/text_encoding.h"
#include "store/window_port.h"

namespace edbtest {

// Every call as one line of text, e.g. "status Status: Getting MailBox List",
// "progress 0", "insert <parent> <label> <image> -> <item>", "expand 1",
// "tree off", "columns <heading> <heading>...", "row <image>",
// "cell <row> <column> <text>", "page <html>", "message info <text> | <caption>".
class RecordingWindow : public edb::WindowPort {
 public:
  void SetStatusText(std::u16string_view text) override { Log("status", text); }
  void SetProgress(int position) override { Log("progress " + std::to_string(position)); }
  void ClearTree() override { Log("tree clear"); }
  edb::TreeItem InsertTreeItem(edb::TreeItem parent, std::u16string_view label, int image) override {
    edb::TreeItem item{next_item_++};
    Log("insert " + std::to_string(parent.id) + " " + edb::Utf16ToUtf8(label) + " " + std::to_string(image) +
        " -> " + std::to_string(item.id));
    return item;
  }
  void ExpandTreeItem(edb::TreeItem item) override { Log("expand " + std::to_string(item.id)); }
  void EnableTree(bool on) override { Log(on ? "tree on" : "tree off"); }
  void ClearList() override { Log("list clear"); }
  void SetListColumns(std::span<const edb::ListColumn> columns) override {
    std::string line = "columns";
    for (const edb::ListColumn& column : columns) line += " " + edb::Utf16ToUtf8(column.heading);
    Log(line);
  }
  int AppendListRow(int image) override {
    Log("row " + std::to_string(image));
    return rows_++;
  }
  void SetListCell(int row, int column, std::u16string_view text) override {
    Log("cell " + std::to_string(row) + " " + std::to_string(column), text);
  }
  void EnableList(bool on) override { Log(on ? "list on" : "list off"); }
  void ShowStatusPage(std::u16string_view html) override { Log("page", html); }
  void ShowMessage(edb::MessageKind kind, std::u16string_view text, std::u16string_view caption) override {
    Log(kind == edb::MessageKind::kError ? "message error" : "message info",
        std::u16string(text) + u" | " + std::u16string(caption));
  }

  // The calls whose line starts with `prefix` + " ", without that prefix.
  std::vector<std::string> Calls(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const std::string& call : calls) {
      if (call.starts_with(prefix + " ")) found.push_back(call.substr(prefix.size() + 1));
    }
    return found;
  }
  std::vector<int> ProgressPositions() const {
    std::vector<int> positions;
    for (const std::string& call : Calls("progress")) positions.push_back(std::stoi(call));
    return positions;
  }

  std::vector<std::string> calls;

 private:
  void Log(std::string line) { calls.push_back(std::move(line)); }
  void Log(const std::string& what, std::u16string_view text) { Log(what + " " + edb::Utf16ToUtf8(text)); }

  int64_t next_item_ = 1;
  int rows_ = 0;
};

// One record handed to a handler.
struct HandledRecord {
  edb::RecordHandlerKind kind = edb::RecordHandlerKind::kNone;  // kNone for ItemContent
  int32_t index = -1;                                            // -1 for handlers given none
  edb::ColumnPositions columns;
};

// Keeps every call; returns 1 unless `result` says otherwise. `on_record`
// runs inside every call (after it is recorded) and may act on the test.
class RecordingHandlers : public edb::RecordHandlers {
 public:
  using Kind = edb::RecordHandlerKind;
  int Mailbox(const edb::RecordRef&, const edb::ColumnPositions& c, edb::WindowPort&) override {
    return Keep(Kind::kMailbox, c, -1);
  }
  int Folder(const edb::RecordRef&, const edb::ColumnPositions& c, edb::WindowPort&) override {
    return Keep(Kind::kFolder, c, -1);
  }
  int MessageIndex(const edb::RecordRef&, const edb::ColumnPositions& c, int32_t i, edb::WindowPort&) override {
    return Keep(Kind::kMessageIndex, c, i);
  }
  int Attachment(const edb::RecordRef&, const edb::ColumnPositions& c, int32_t i, edb::WindowPort&) override {
    return Keep(Kind::kAttachment, c, i);
  }
  int ContentsRow(const edb::RecordRef&, const edb::ColumnPositions& c, int32_t i, edb::WindowPort&) override {
    return Keep(Kind::kContentsRow, c, i);
  }
  int ItemContent(const edb::RecordRef&, edb::WindowPort&) override { return Keep(Kind::kNone, {}, -1); }

  // The indexes handed to handlers of `kind`, in order.
  std::vector<int32_t> Indexes(Kind kind) const {
    std::vector<int32_t> indexes;
    for (const HandledRecord& record : records) {
      if (record.kind == kind) indexes.push_back(record.index);
    }
    return indexes;
  }

  std::vector<HandledRecord> records;
  std::function<int(const HandledRecord&)> result;
  std::function<void(const HandledRecord&)> on_record;

 private:
  int Keep(Kind kind, const edb::ColumnPositions& columns, int32_t index) {
    records.push_back(HandledRecord{kind, index, columns});
    if (on_record) on_record(records.back());
    return result ? result(records.back()) : 1;
  }
};

class RecordingCorruption : public edb::CorruptionReporter {
 public:
  void Corruption(std::string_view where, std::string_view reason) override {
    reports.push_back(std::string(where) + ": " + std::string(reason));
  }
  std::vector<std::string> reports;  // "where: reason"
};

}  // namespace edbtest
