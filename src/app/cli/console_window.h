// The window seam for the command line. Quiet by default: error boxes go to
// standard error, everything else is dropped unless `verbose` is set (then
// status lines and information boxes go to standard error too). When
// standard error is a terminal, the status line and progress bar show there
// on one self-overwriting line. The tree and list are kept in memory so a
// command can print them.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "store/window_port.h"

namespace edbcli {

class ConsoleWindow : public edb::WindowPort {
 public:
  struct TreeNode {
    edb::TreeItem item;
    edb::TreeItem parent;
    std::u16string label;
    int image = 0;
  };

  explicit ConsoleWindow(bool verbose);
  ~ConsoleWindow() override;

  void SetStatusText(std::u16string_view text) override;
  void SetProgress(int position) override;
  void ClearTree() override;
  edb::TreeItem InsertTreeItem(edb::TreeItem parent, std::u16string_view label, int image) override;
  void ExpandTreeItem(edb::TreeItem) override {}
  void EnableTree(bool) override {}
  void ClearList() override;
  void SetListColumns(std::span<const edb::ListColumn> columns) override;
  int AppendListRow(int image) override;
  void SetListCell(int row, int column, std::u16string_view text) override;
  void EnableList(bool) override {}
  void ShowStatusPage(std::u16string_view) override {}
  void ShowMessage(edb::MessageKind kind, std::u16string_view text, std::u16string_view caption) override;

  // The tree in insertion order.
  const std::vector<TreeNode>& tree() const { return tree_; }
  const std::vector<edb::ListColumn>& list_columns() const { return columns_; }
  const std::vector<std::vector<std::u16string>>& list_rows() const { return rows_; }

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
  std::vector<TreeNode> tree_;
  std::vector<edb::ListColumn> columns_;
  std::vector<std::vector<std::u16string>> rows_;
};

}  // namespace edbcli
