// Export benchmark: saving every folder of a store (e.g. one written by
// `edbgen synthetic 100000`) into a Maildir target store, against loading
// every folder's items the same way without writing anything. Prints both
// times, their ratio, the items written and the peak memory of the save
// (measured before the load runs, which keeps a whole folder in memory).
//
// Usage: bench_export STORE.edb [TARGET_DIR]   (default: a fresh folder in /tmp, removed)
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/ui/save_flow.h"
#include "store/body_pass.h"
#include "app/ui/folder_flow.h"
#include "base/corruption_reporter.h"
#include "store/folder_contents.h"
#include "app/ui/scan_flow.h"
#include "store/store_record_handlers.h"

#include "counting_window.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

double CpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

long PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: bench_export STORE.edb [TARGET_DIR]\n");
    return 2;
  }
  std::filesystem::path target;
  bool remove_target = false;
  if (argc == 3) {
    target = argv[2];
  } else {
    std::string pattern = (std::filesystem::temp_directory_path() / "bench-export-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return 1;
    target = std::filesystem::path(pattern) / "store";
    remove_target = true;
  }
  edb::NullCorruptionReporter corruption;
  edb::StoreSession session;
  session.database_path = argv[1];
  edbbench::CountingWindow window;
  edb::StoreRecordHandlers handlers(session, corruption, nullptr);
  edb::WindowContext context{session, window, handlers, corruption, nullptr};
  Clock::time_point start = Clock::now();
  if (edb::ScanDatabase(context) != edb::ScanOutcome::kCompleted) {
    std::fprintf(stderr, "bench_export: cannot scan %s\n", argv[1]);
    return 1;
  }
  const double scan = Seconds(start);
  const long after_scan = PeakMegabytes();

  edb::SaveRequest request;
  request.target = target;
  request.format = edb::MailFormat::kMaildir;
  request.folders = edb::FoldersToSave(session, {}, {});

  start = Clock::now();
  double cpu = CpuSeconds();
  const edb::SaveSummary summary = edb::RunSave(context, request, nullptr);
  const double save_wall = Seconds(start);
  const double save_cpu = CpuSeconds() - cpu;
  const long after_save = PeakMegabytes();

  start = Clock::now();
  cpu = CpuSeconds();
  size_t loaded = 0;
  for (const edb::SaveFolder& folder : request.folders) {
    edb::FolderContents contents;
    edb::ItemBodyPass body_pass(&contents);
    edb::OpenFolderEntry(context, folder.folder, &body_pass);
    loaded += contents.items().size() + contents.contacts().size();
  }
  const double load_wall = Seconds(start);
  const double load_cpu = CpuSeconds() - cpu;

  const edb::SaveCounts& c = summary.counts;
  std::printf("store            %s  (scan %.2f s, %zu Msg records, peak %ld MB after the scan)\n", argv[1], scan,
              session.message_index.size(), after_scan);
  std::printf("save (maildir)   %.3f s wall, %.3f s cpu: %lld messages, %lld contacts, %lld calendar items, "
              "%lld attachments, %lld skipped%s\n",
              save_wall, save_cpu, static_cast<long long>(c.messages), static_cast<long long>(c.contacts),
              static_cast<long long>(c.calendar_items), static_cast<long long>(c.attachments),
              static_cast<long long>(c.skipped), summary.failure.ok() ? "" : summary.failure.reason().c_str());
  std::printf("load only        %.3f s wall, %.3f s cpu: %zu items\n", load_wall, load_cpu, loaded);
  std::printf("ratio            %.2f wall, %.2f cpu  (target <= 2)\n", load_wall > 0 ? save_wall / load_wall : 0.0,
              load_cpu > 0 ? save_cpu / load_cpu : 0.0);
  std::printf("peak memory      %ld MB after the save (target < 300 MB)\n", after_save);
  if (remove_target) std::filesystem::remove_all(target.parent_path());
  return 0;
}
