// Window benchmark (offscreen): how long the UI thread is ever kept from
// its event loop while a scan runs and while a large folder loads, measured
// by a 5 ms heartbeat timer, and how soon the folder's rows are all in the
// list compared with `edbrecover list` for the same folder. Prints figures,
// asserts nothing.
//
// Usage: bench_window STORE.edb [EDBRECOVER]
//   e.g. edbgen synthetic 120000 /tmp/s120k.edb (an Inbox of 30,000 items)
#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>
#include <QTreeWidgetItem>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "app/gui/folder_tree.h"
#include "app/gui/main_dialog.h"
#include "app/gui/message_list_model.h"
#include "base/text_encoding.h"

namespace {

// The longest gap between two ticks of a 5 ms timer since the last Reset.
class Heartbeat {
 public:
  Heartbeat() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      longest_ = std::max(longest_, since_.restart());
    });
    since_.start();
    timer_.start();
  }
  void Reset() {
    longest_ = 0;
    since_.restart();
  }
  qint64 longest_ms() const { return longest_; }

 private:
  QTimer timer_;
  QElapsedTimer since_;
  qint64 longest_ = 0;
};

// Dismisses every message box as soon as it shows.
void AnswerBoxes(QTimer* timer) {
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->accept();
  });
  timer->start();
}

bool RunUntil(const std::function<bool()>& done) {
  while (!done()) QApplication::processEvents(QEventLoop::AllEvents, 5);
  return true;
}

double Seconds(const std::string& command) {
  const auto start = std::chrono::steady_clock::now();
  if (std::system((command + " >/dev/null 2>&1").c_str()) != 0) return -1;
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_window STORE.edb [EDBRECOVER]\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const std::string store = argv[1];
  const std::string edbrecover = argc > 2 ? argv[2] : std::string(EDB_BIN_DIR) + "/edbrecover";

  edbgui::MainDialog dialog;
  dialog.show();
  dialog.resize(1600, 1000);
  QTimer answerer;
  AnswerBoxes(&answerer);
  Heartbeat heartbeat;

  // The scan.
  std::optional<edb::ScanOutcome> outcome;
  QObject::connect(&dialog, &edbgui::MainDialog::ScanFinished, [&](edb::ScanOutcome o) { outcome = o; });
  dialog.ChooseDatabase(QString::fromStdString(store));
  QElapsedTimer clock;
  heartbeat.Reset();
  clock.start();
  dialog.ScanFile();
  RunUntil([&] { return outcome.has_value(); });
  std::printf("scan: %.2f s, UI thread blocked at most %lld ms\n", clock.elapsed() / 1000.0,
              static_cast<long long>(heartbeat.longest_ms()));

  // The largest folder: the first Inbox (where the synthetic store puts a
  // quarter of its items).
  const edb::FolderEntry* inbox = nullptr;
  for (const edb::FolderEntry& folder : dialog.session().folders) {
    if (folder.display_name == u"Inbox" && folder.contents_table_name) {
      inbox = &folder;
      break;
    }
  }
  if (inbox == nullptr) {
    std::fprintf(stderr, "bench_window: no Inbox in %s\n", store.c_str());
    return 1;
  }
  const std::string table = edb::Utf16ToUtf8(*inbox->contents_table_name);
  QTreeWidgetItem* item = dialog.tree()->WidgetItem(dialog.window_tree().folder_items.at(static_cast<size_t>(inbox - dialog.session().folders.data())));
  qint64 first_rows_ms = -1;
  qint64 last_rows_ms = 0;
  QObject::connect(dialog.list_model(), &QAbstractItemModel::rowsInserted, [&] {
    if (first_rows_ms < 0) first_rows_ms = clock.elapsed();
    last_rows_ms = clock.elapsed();
  });
  bool loaded = false;
  QObject::connect(&dialog, &edbgui::MainDialog::FolderLoaded, [&] { loaded = true; });
  heartbeat.Reset();
  clock.restart();
  Q_EMIT dialog.tree()->ItemOpened(dialog.window_tree().folder_items.at(static_cast<size_t>(inbox - dialog.session().folders.data())), item->text(0));
  RunUntil([&] { return loaded; });
  const qint64 load_ms = clock.elapsed();
  std::printf("folder %s: %d rows; first rows after %.2f s, all rows listed after %.2f s, bodies loaded after "
              "%.2f s; UI thread blocked at most %lld ms\n",
              table.c_str(), dialog.list_model()->rowCount(), first_rows_ms / 1000.0, last_rows_ms / 1000.0,
              load_ms / 1000.0,
              static_cast<long long>(heartbeat.longest_ms()));

  const double scan_seconds = Seconds(edbrecover + " scan " + store);
  const double list_seconds = Seconds(edbrecover + " list " + store + " " + table);
  std::printf("edbrecover scan: %.2f s; edbrecover list %s: %.2f s (its own folder part: %.2f s)\n", scan_seconds,
              table.c_str(), list_seconds, list_seconds - scan_seconds);
  if (list_seconds > scan_seconds && scan_seconds > 0) {
    std::printf("rows in the window / folder part of list: %.2f\n",
                (last_rows_ms / 1000.0) / (list_seconds - scan_seconds));
  }
  return 0;
}
