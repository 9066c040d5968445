// edbrecover export FILE --to DIR [--mailbox NAME]... [--folder MAILBOX/FOLDER]...
// [--format maildir|mbox|eml]: scans a store database and saves its folders
// (all of them by default) into a target store directory: mail as Maildir++
// (or one mbox file or a folder of .eml files per folder), contacts as vCard
// files, appointments, tasks and journal entries as iCalendar files. On a
// terminal a progress line shows items, rate and time left; a summary line
// ends the run. Exit status: 0 all written, 2 items skipped for damage, 1
// nothing could be written.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/ui/save_flow.h"
#include "app/ui/save_worker_port.h"
#include "commands.h"
#include "scanned_store.h"
#include "base/text_encoding.h"

namespace edbcli {
namespace {

struct ExportOptions {
  std::string file;
  std::string to;
  std::vector<std::string> mailboxes;
  std::vector<std::string> folders;
  std::string format = "maildir";
};

// The console window during a save: the export draws its own progress line,
// so status texts and the progress bar of the folder loads are dropped;
// messages still go to the console.
class QuietWindow : public edb::SaveWorkerPort {
 public:
  using SaveWorkerPort::SaveWorkerPort;
  void SetStatusText(std::u16string_view) override {}
  void ShowStatusPage(std::u16string_view) override {}
};

// "  1234/46000 items  812/s  0:52 left" on one self-overwriting line of
// standard error, when it is a terminal.
class ProgressLine : public edb::SaveObserver {
 public:
  ProgressLine() : on_terminal_(isatty(STDERR_FILENO) == 1), start_(std::chrono::steady_clock::now()) {}
  ~ProgressLine() override { Clear(); }

  void FolderStarted(const edb::SaveFolder& folder) override {
    folder_ = edb::Utf16ToUtf8(folder.mailbox_name + u"/" + folder.folder.display_name);
    Draw(done_, expected_, true);
  }

  void ItemDone(const edb::SaveSummary& so_far, int64_t expected_items) override {
    done_ = so_far.items_done;
    expected_ = expected_items;
    Draw(done_, expected_, false);
  }

  void Clear() {
    if (!shown_) return;
    std::fprintf(stderr, "\r\033[K");
    std::fflush(stderr);
    shown_ = false;
  }

 private:
  void Draw(int64_t done, int64_t expected, bool force) {
    if (!on_terminal_) return;
    const auto now = std::chrono::steady_clock::now();
    if (!force && now - last_draw_ < std::chrono::milliseconds(100)) return;
    last_draw_ = now;
    const double seconds = std::chrono::duration<double>(now - start_).count();
    const double rate = seconds > 0 ? done / seconds : 0;
    std::string line = "\r\033[K" + std::to_string(done);
    if (expected > 0) line += "/" + std::to_string(expected);
    line += " items  " + std::to_string(static_cast<int64_t>(rate)) + "/s";
    if (expected > done && rate > 0) {
      const int64_t left = static_cast<int64_t>((expected - done) / rate);
      char time_left[32];
      std::snprintf(time_left, sizeof(time_left), "  %lld:%02lld left", static_cast<long long>(left / 60),
                    static_cast<long long>(left % 60));
      line += time_left;
    }
    line += "  " + folder_.substr(0, 60);
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
    shown_ = true;
  }

  bool on_terminal_;
  bool shown_ = false;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point last_draw_{};
  std::string folder_;
  int64_t done_ = 0;
  int64_t expected_ = 0;
};

std::vector<std::u16string> Utf16All(const std::vector<std::string>& texts) {
  std::vector<std::u16string> converted;
  for (const std::string& text : texts) converted.push_back(edb::Utf8ToUtf16(text));
  return converted;
}

int RunExport(const ExportOptions& options) {
  const std::optional<edb::MailFormat> format = edb::MailFormatOfName(options.format);
  if (!format) {
    std::fprintf(stderr, "edbrecover: unknown format \"%s\" (maildir, mbox or eml)\n", options.format.c_str());
    return 1;
  }
  std::unique_ptr<ScannedStore> store;
  try {
    store = std::make_unique<ScannedStore>(true);
  } catch (const std::runtime_error& e) {
    std::fprintf(stderr, "edbrecover: %s\n", e.what());
    return 1;
  }
  if (!store->Scan(options.file)) return 1;

  edb::SaveRequest request;
  request.target = options.to;
  request.format = *format;
  request.folders = edb::FoldersToSave(store->session(), Utf16All(options.mailboxes), Utf16All(options.folders));
  const size_t asked = options.mailboxes.size() + options.folders.size();
  if (asked > 0 && request.folders.empty()) {
    std::fprintf(stderr, "edbrecover: %s: no mailbox or folder of that name (see `edbrecover scan`)\n",
                 options.file.c_str());
    return 1;
  }
  if (asked == 0) request.expected_items = static_cast<int64_t>(store->session().message_index.size());

  edb::WindowContext& scanned = store->context();
  QuietWindow window(scanned.window);
  edb::WindowContext context{scanned.session, window, scanned.handlers, scanned.corruption, nullptr};
  ProgressLine progress;
  const edb::SaveSummary summary = edb::RunSave(context, request, &progress);
  progress.Clear();
  const std::string text = edb::SaveSummaryText(summary, request.target);
  std::fprintf(summary.failure.ok() ? stdout : stderr, "%s%s\n", summary.failure.ok() ? "" : "edbrecover: ",
               text.c_str());
  return summary.ExitCode();
}

}  // namespace

void AddExportCommand(CLI::App& app, int* exit_code) {
  auto options = std::make_shared<ExportOptions>();
  CLI::App* command = app.add_subcommand(
      "export", "Save the folders of a store database into a local mail store (Maildir, vCard, iCalendar)");
  command->add_option("FILE", options->file, "The store database (.edb)")->required();
  command->add_option("--to", options->to, "The target store directory (created when missing)")->required();
  command->add_option("--mailbox", options->mailboxes, "Save this mailbox (its display name, as `scan` shows it)");
  command->add_option("--folder", options->folders, "Save this folder, as \"mailbox name/folder name\"");
  command->add_option("--format", options->format, "How mail is written: maildir (default), mbox or eml")
      ->check(CLI::IsMember({"maildir", "mbox", "eml"}));
  command->callback([options, exit_code] { *exit_code = RunExport(*options); });
}

}  // namespace edbcli
