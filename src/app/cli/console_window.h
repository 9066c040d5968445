// The window seam for the command line. Quiet by default: error boxes go to
// standard error, everything else is dropped unless `verbose` is set (then
// status lines and information boxes go to standard error too). When
// standard error is a terminal, the status line and progress bar show there
// on one self-overwriting line. The tree and the list are not kept: the
// commands print the store model.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "app/ui/window_port.h"

namespace edbcli {

class ConsoleWindow : public edb::WindowPort {
 public:
  explicit ConsoleWindow(bool verbose);
  ~ConsoleWindow() override;

  void SetStatusText(std::u16string_view text) override;
  void SetProgress(int position) override;
  void ClearTree() override {}
  edb::TreeItem InsertTreeItem(edb::TreeItem parent, std::u16string_view label, int image) override;
  void ExpandTreeItem(edb::TreeItem) override {}
  void EnableTree(bool) override {}
  void ClearList() override {}
  void SetListColumns(std::span<const edb::ListColumn>) override {}
  int AppendListRow(int) override { return next_row_++; }
  void SetListCell(int, int, std::u16string_view) override {}
  void EnableList(bool) override {}
  void ShowStatusPage(std::u16string_view) override {}
  void ShowMessage(edb::MessageKind kind, std::u16string_view text, std::u16string_view caption) override;

 private:
  void DrawProgressLine();
  void ClearProgressLine();

  bool verbose_;
  bool progress_on_terminal_;
  std::string status_;
  int progress_ = 0;
  bool progress_line_shown_ = false;
  std::chrono::steady_clock::time_point last_draw_{};
  int64_t next_item_id_ = 1;
  int next_row_ = 0;
};

}  // namespace edbcli
