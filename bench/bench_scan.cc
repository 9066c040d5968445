// Scan benchmark: the time ScanDatabase takes over the four store tables of
// a store (e.g. one written by `edbgen synthetic 100000`), against a bare
// libesedb loop that fetches the same records and the same located values,
// in one run; prints both times, their ratio and the peak resident memory.
//
// Usage: bench_scan STORE.edb
#include <libesedb.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "store/binary_readings.h"
#include "base/corruption_reporter.h"
#include "app/ui/scan_flow.h"
#include "store/value_text.h"

#include "counting_window.h"

namespace {

using Clock = std::chrono::steady_clock;

// Handlers that render the located values the way the store's handlers read
// them, and count what they got.
class RenderingHandlers : public edb::RecordHandlers {
 public:
  using Outcome = edb::RecordOutcome;
  Outcome Mailbox(const edb::RecordRef& r, const edb::ColumnPositions& c, edb::StoreEvents&) override {
    auto key = Identifier(r, c.mailbox_key);
    Count(Text(r, c.display_name, key));
    return Outcome::kHandled;
  }
  Outcome Folder(const edb::RecordRef& r, const edb::ColumnPositions& c, edb::StoreEvents&) override {
    auto id = Identifier(r, c.folder_id);
    auto key = Identifier(r, c.mailbox_key, id);
    auto name = Text(r, c.display_name, key);
    Count(Text(r, c.container_class, name));
    return Outcome::kHandled;
  }
  Outcome MessageIndex(const edb::RecordRef& r, const edb::ColumnPositions& c, int32_t, edb::StoreEvents&) override {
    Count(Identifier(r, c.message_key));
    Count(Text(r, c.attachment_ids, std::nullopt));
    return Outcome::kHandled;
  }
  Outcome Attachment(const edb::RecordRef& r, const edb::ColumnPositions& c, int32_t, edb::StoreEvents&) override {
    auto id = Identifier(r, c.attachment_key);
    Count(Text(r, c.display_name, id));
    return Outcome::kHandled;
  }
  Outcome ContentsRow(const edb::RecordRef&, const edb::ColumnPositions&, int32_t, edb::StoreEvents&) override {
    return Outcome::kHandled;
  }
  Outcome ItemContent(const edb::RecordRef&, edb::StoreEvents&) override { return Outcome::kHandled; }

  long records = 0;
  long characters = 0;

 private:
  static std::optional<std::u16string> Identifier(const edb::RecordRef& r, std::optional<int32_t> column,
                                                  const std::optional<std::u16string>& fallback = std::nullopt) {
    if (!column) return fallback;
    return edb::IdentifierText(r, *column, edb::ByteOrder::kBigEndian, fallback);
  }
  static std::optional<std::u16string> Text(const edb::RecordRef& r, std::optional<int32_t> column,
                                            const std::optional<std::u16string>& fallback) {
    if (!column) return fallback;
    return edb::ValueText(r, *column, fallback);
  }
  void Count(const std::optional<std::u16string>& text) {
    ++records;
    if (text) characters += static_cast<long>(text->size());
  }
};

struct TableColumns {
  const char* table;
  std::vector<const char*> columns;
};

const TableColumns kStoreTables[] = {
    {"Mailbox", {"Q6764", "S3001"}},
    {"Folders", {"Q6748", "Q6764", "S3001", "S3613"}},
    {"Msg", {"N67b0", "N67b3"}},
    {"1-23", {"Q3f88", "S3001", "N3701", "S3704"}},
};

// The positions of `names` in `table`'s column list (-1 when absent).
std::vector<int> LocateByName(libesedb_table_t* table, const std::vector<const char*>& names) {
  std::vector<int> positions(names.size(), -1);
  int count = 0;
  libesedb_table_get_number_of_columns(table, &count, 0, nullptr);
  for (int i = 0; i < count; ++i) {
    libesedb_column_t* column = nullptr;
    if (libesedb_table_get_column(table, i, &column, 0, nullptr) != 1) continue;
    char name[256] = {};
    libesedb_column_get_utf8_name(column, reinterpret_cast<uint8_t*>(name), sizeof(name), nullptr);
    for (size_t n = 0; n < names.size(); ++n) {
      if (std::string(name) == names[n]) positions[n] = i;
    }
    libesedb_column_free(&column, nullptr);
  }
  return positions;
}

// Fetches every record of the four tables and the bytes of the located
// values (the last two "1-23" columns are located but not read at scan time).
long BareLoop(const std::string& path, long* bytes) {
  libesedb_file_t* file = nullptr;
  libesedb_file_initialize(&file, nullptr);
  if (libesedb_file_open(file, path.c_str(), LIBESEDB_OPEN_READ, nullptr) != 1) return -1;
  long records = 0;
  std::vector<uint8_t> data;
  for (const TableColumns& wanted : kStoreTables) {
    libesedb_table_t* table = nullptr;
    if (libesedb_file_get_table_by_utf8_name(file, reinterpret_cast<const uint8_t*>(wanted.table),
                                             std::string(wanted.table).size(), &table, nullptr) != 1) {
      continue;
    }
    std::vector<int> positions = LocateByName(table, wanted.columns);
    size_t read_columns = std::string(wanted.table) == "1-23" ? 2 : positions.size();
    int count = 0;
    libesedb_table_get_number_of_records(table, &count, nullptr);
    for (int i = 0; i < count; ++i) {
      libesedb_record_t* record = nullptr;
      if (libesedb_table_get_record(table, i, &record, nullptr) != 1) continue;
      for (size_t c = 0; c < read_columns; ++c) {
        if (positions[c] < 0) continue;
        size_t size = 0;
        if (libesedb_record_get_value_data_size(record, positions[c], &size, nullptr) != 1 || size == 0) continue;
        data.resize(size);
        libesedb_record_get_value_data(record, positions[c], data.data(), size, nullptr);
        *bytes += static_cast<long>(size);
      }
      ++records;
      libesedb_record_free(&record, nullptr);
    }
    libesedb_table_free(&table, nullptr);
  }
  libesedb_file_close(file, nullptr);
  libesedb_file_free(&file, nullptr);
  return records;
}

double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

long PeakRssKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: bench_scan STORE.edb\n");
    return 2;
  }
  std::string path = argv[1];
  long warm_bytes = 0;
  if (BareLoop(path, &warm_bytes) < 0) {  // brings the file into the page cache
    std::fprintf(stderr, "bench_scan: cannot open %s\n", path.c_str());
    return 1;
  }

  long bytes = 0;
  Clock::time_point start = Clock::now();
  long bare_records = BareLoop(path, &bytes);
  double bare = Seconds(start);

  edb::NullCorruptionReporter corruption;
  edb::StoreSession session;
  session.database_path = path;
  edbbench::CountingWindow window;
  RenderingHandlers handlers;
  edb::WindowContext context{session, window, handlers, corruption, nullptr};
  start = Clock::now();
  edb::ScanOutcome outcome = edb::ScanDatabase(context);
  double scan = Seconds(start);

  std::printf("store            %s\n", path.c_str());
  std::printf("bare libesedb    %.3f s  (%ld records, %ld value bytes)\n", bare, bare_records, bytes);
  std::printf("ScanDatabase     %.3f s  (%s, %ld values rendered, %ld characters)\n", scan,
              outcome == edb::ScanOutcome::kCompleted ? "completed" : "not completed", handlers.records,
              handlers.characters);
  std::printf("ratio            %.2f  (target <= 1.30)\n", bare > 0 ? scan / bare : 0.0);
  std::printf("peak RSS         %.1f MB  (target < 150 MB)\n", PeakRssKb() / 1024.0);
  return 0;
}
