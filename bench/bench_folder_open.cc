// Folder-open benchmark: opening the largest mail folder of a store (e.g.
// one written by `edbgen synthetic 100000`) as a click does, header pass
// plus body pass, against a bare loop that reads the same contents rows and
// the same Msg records through the database seam (every value's data and
// every long value), in one run. Prints both times (the
// best of three), their ratio and the number of items loaded.
//
// Usage: bench_folder_open STORE.edb
#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <string>
#include <unordered_map>
#include <vector>

#include "store/body_pass.h"
#include "app/ui/folder_flow.h"
#include "base/corruption_reporter.h"
#include "store/folder_contents.h"
#include "store/item_family.h"
#include "app/ui/scan_flow.h"
#include "store/store_record_handlers.h"
#include "base/text_encoding.h"

#include "counting_window.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// Processor time of this process, in seconds: less disturbed than wall time
// by other work on the machine.
double CpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// Wall and processor time of one measured step.
struct Timing {
  double wall = 1e9;
  double cpu = 1e9;
};

template <typename Step>
void Measure(Timing* best, Step step) {
  const Clock::time_point start = Clock::now();
  const double cpu = CpuSeconds();
  step();
  best->wall = std::min(best->wall, Seconds(start));
  best->cpu = std::min(best->cpu, CpuSeconds() - cpu);
}

// Reads every value's data of `record`, and every long value whole; returns
// the bytes read.
long ReadRecord(const edb::ese::Record& record) {
  long bytes = 0;
  edb::ese::Value value;
  std::vector<uint8_t> data;
  for (int v = 0; v < record.value_count(); ++v) {
    if (!record.ReadValue(v, &value).ok() || value.data.empty()) continue;
    bytes += static_cast<long>(value.data.size());
    if ((value.flags & 0x04) == 0 || (value.flags & 0x08) != 0) continue;
    auto segments = record.OpenLongValue(v);
    if (!segments.ok()) continue;
    for (int s = 0; s < (*segments)->segment_count(); ++s) {
      if ((*segments)->ReadSegment(s, &data).ok()) bytes += static_cast<long>(data.size());
    }
  }
  return bytes;
}

// The bare loop: every row of the contents table, then the Msg records at
// `positions`.
long BareLoop(edb::StoreSession& session, const std::u16string& contents_table, const std::vector<int32_t>& positions) {
  long bytes = 0;
  edb::Status error;
  for (const std::u16string& name : {contents_table, std::u16string(u"Msg")}) {
    edb::OpenedTable table;
    if (session.OpenTable(name, &table, &error) != edb::TableLookup::kOpened) return -1;
    std::vector<int32_t> all;
    if (name != u"Msg") {
      const int64_t count = table.handle->RecordCount().ok() ? *table.handle->RecordCount() : 0;
      for (int32_t i = 0; i < count; ++i) all.push_back(i);
    }
    for (int32_t index : name == u"Msg" ? positions : all) {
      auto record = table.handle->ReadRecord(index);
      if (!record.ok()) continue;
      bytes += ReadRecord(**record);
    }
  }
  return bytes;
}

// The Msg record positions the open folder's headers join with.
std::vector<int32_t> JoinedPositions(const edb::StoreSession& session) {
  std::unordered_map<std::u16string, std::vector<int32_t>> by_key;
  for (const edb::MsgIndexEntry& entry : session.message_index) {
    if (entry.key) by_key[*entry.key].push_back(entry.record);
  }
  std::vector<int32_t> positions;
  for (const edb::MessageEntry& header : session.mail_rows) {
    if (!header.key) continue;
    auto it = by_key.find(*header.key);
    if (it != by_key.end()) positions.insert(positions.end(), it->second.begin(), it->second.end());
  }
  return positions;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: bench_folder_open STORE.edb\n");
    return 2;
  }
  edb::NullCorruptionReporter corruption;
  edb::StoreSession session;
  session.database_path = argv[1];
  edbbench::CountingWindow window;
  edb::StoreRecordHandlers handlers(session, corruption, nullptr);
  edb::WindowContext context{session, window, handlers, corruption, nullptr};
  Clock::time_point start = Clock::now();
  if (edb::ScanDatabase(context) != edb::ScanOutcome::kCompleted) {
    std::fprintf(stderr, "bench_folder_open: cannot scan %s\n", argv[1]);
    return 1;
  }
  const double scan = Seconds(start);

  // The mail folder with the most Msg records of its own.
  std::unordered_map<std::u16string, int> items_of_table;
  const edb::FolderEntry* folder = nullptr;
  for (const edb::FolderEntry& f : session.folders) {
    if (!f.contents_table_name || edb::OpenFolderClass(f.container_class) != edb::kMailFolderClass) continue;
    edb::OpenedTable table;
    edb::Status error;
    if (session.OpenTable(*f.contents_table_name, &table, &error) != edb::TableLookup::kOpened) continue;
    auto records = table.handle->RecordCount();
    const int count = records.ok() ? static_cast<int>(*records) : 0;
    if (folder == nullptr || count > items_of_table[*folder->contents_table_name]) folder = &f;
    items_of_table[*f.contents_table_name] = count;
  }
  if (folder == nullptr) {
    std::fprintf(stderr, "bench_folder_open: no mail folder\n");
    return 1;
  }
  const edb::FolderEntry opened = *folder;
  const edb::TreeItem opened_item = context.tree.folder_items.at(static_cast<size_t>(folder - session.folders.data()));

  edb::FolderContents contents;
  edb::ItemBodyPass body_pass(&contents);
  edb::OpenFolder(context, opened_item, opened.display_name, &body_pass);  // warms the page cache
  const std::vector<int32_t> positions = JoinedPositions(session);

  Timing bare, open, headers, bodies;
  long bytes = 0;
  for (int round = 0; round < 3; ++round) {
    Measure(&bare, [&] { bytes = BareLoop(session, *opened.contents_table_name, positions); });
    Measure(&open, [&] { edb::OpenFolder(context, opened_item, opened.display_name, &body_pass); });
  }
  // The two passes on their own, once.
  edb::FolderRows listed;
  Measure(&headers, [&] { listed = edb::ListFolderRows(context, opened_item, opened.display_name); });
  Measure(&bodies, [&] { edb::RunFolderBodyPass(context, listed, opened.display_name, &body_pass); });

  std::printf("store            %s  (scan %.2f s)\n", argv[1], scan);
  std::printf("folder           %s (%s): %d rows, %zu headers, %zu Msg records joined\n",
              edb::Utf16ToUtf8(opened.display_name).c_str(), edb::Utf16ToUtf8(*opened.contents_table_name).c_str(),
              items_of_table[*opened.contents_table_name], session.mail_rows.size(), positions.size());
  std::printf("loaded           %zu items, %zu body chunks\n", contents.items().size(), contents.chunks().size());
  std::printf("bare loop        %.3f s wall, %.3f s cpu  (%ld bytes)\n", bare.wall, bare.cpu, bytes);
  std::printf("folder open      %.3f s wall, %.3f s cpu  (target < 5 s)\n", open.wall, open.cpu);
  std::printf("  header pass    %.3f s wall, %.3f s cpu\n", headers.wall, headers.cpu);
  std::printf("  body pass      %.3f s wall, %.3f s cpu\n", bodies.wall, bodies.cpu);
  std::printf("ratio            %.2f wall, %.2f cpu  (target <= 2)\n", bare.wall > 0 ? open.wall / bare.wall : 0.0,
              bare.cpu > 0 ? open.cpu / bare.cpu : 0.0);
  return 0;
}
