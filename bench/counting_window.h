// A window for benchmarks: drops every call but counts the list rows, so a
// benchmark measures the store reader, not a display.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "app/ui/window_port.h"

namespace edbbench {

class CountingWindow : public edb::WindowPort {
 public:
  void SetStatusText(std::u16string_view) override {}
  void SetProgress(int) override {}
  void ClearTree() override {}
  edb::TreeItem InsertTreeItem(edb::TreeItem, std::u16string_view, int) override { return edb::TreeItem{++id_}; }
  void ExpandTreeItem(edb::TreeItem) override {}
  void EnableTree(bool) override {}
  void ClearList() override { rows = 0; }
  void SetListColumns(std::span<const edb::ListColumn>) override {}
  int AppendListRow(int) override { return rows++; }
  void SetListCell(int, int, std::u16string_view) override {}
  void EnableList(bool) override {}
  void ShowStatusPage(std::u16string_view) override {}
  void ShowMessage(edb::MessageKind, std::u16string_view, std::u16string_view) override {}

  int rows = 0;

 private:
  int64_t id_ = 0;
};

}  // namespace edbbench
