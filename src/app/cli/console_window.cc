// The command line's window seam.
#include "console_window.h"

#include <unistd.h>

#include <cstdio>

#include "base/text_encoding.h"

namespace edbcli {

namespace {
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);
}  // namespace

ConsoleWindow::ConsoleWindow(bool verbose) : verbose_(verbose), progress_on_terminal_(isatty(STDERR_FILENO) == 1) {}

ConsoleWindow::~ConsoleWindow() { ClearProgressLine(); }

void ConsoleWindow::SetStatusText(std::u16string_view text) {
  status_ = edb::Utf16ToUtf8(text);
  if (verbose_ && !progress_on_terminal_) std::fprintf(stderr, "%s\n", status_.c_str());
  if (progress_on_terminal_) DrawProgressLine();
}

void ConsoleWindow::SetProgress(int position) {
  progress_ = position;
  if (!progress_on_terminal_) return;
  auto now = std::chrono::steady_clock::now();
  if (now - last_draw_ < kRedrawInterval) return;
  last_draw_ = now;
  DrawProgressLine();
}

void ConsoleWindow::DrawProgressLine() {
  std::fprintf(stderr, "\r\033[K%s [%3d]", status_.c_str(), progress_);
  std::fflush(stderr);
  progress_line_shown_ = true;
}

void ConsoleWindow::ClearProgressLine() {
  if (!progress_line_shown_) return;
  std::fprintf(stderr, "\r\033[K");
  std::fflush(stderr);
  progress_line_shown_ = false;
}

edb::TreeItem ConsoleWindow::InsertTreeItem(edb::TreeItem, std::u16string_view, int) {
  return edb::TreeItem{next_item_id_++};
}

void ConsoleWindow::ShowMessage(edb::MessageKind kind, std::u16string_view text, std::u16string_view) {
  if (kind != edb::MessageKind::kError && !verbose_) return;
  ClearProgressLine();
  std::fprintf(stderr, "edbrecover: %s\n", edb::Utf16ToUtf8(text).c_str());
}

}  // namespace edbcli
