// Long values at the speed of the disk: for each store given, the time to
// read every long value with the store reader's own long-value reader
// against a sequential read of the whole file (both with the file in the
// page cache), and libesedb's own time per long value on a sample,
// extrapolated to all of them. Figures are printed, never asserted.
//
//   bench_long_values [--esedb-sample N] [--repeat R] STORE.edb...
//
// Stores come from "edbgen synthetic N". With two stores or more, the last
// line compares the reader's time on the last store with the first.
#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/corruption_reporter.h"
#include "ese/ese_catalog.h"
#include "ese/esedb_handles.h"
#include "ese/fast_long_value_source.h"
#include "ese/long_value_reader.h"
#include "base/text_encoding.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Processor time of this process (user and system), in seconds.
double CpuSeconds() {
  timespec now;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Wall-clock and processor time of a piece of work: on a busy machine the
// processor time is the steadier figure.
struct Timing {
  double wall = 1e300;
  double cpu = 1e300;
};

// Best (smallest) wall-clock and processor times of `repeat` runs of `work`.
Timing BestOf(int repeat, const std::function<void()>& work) {
  Timing best;
  for (int i = 0; i < repeat; ++i) {
    auto start = Clock::now();
    double cpu_start = CpuSeconds();
    work();
    best.cpu = std::min(best.cpu, CpuSeconds() - cpu_start);
    best.wall = std::min(best.wall, SecondsSince(start));
  }
  return best;
}

// Reads the whole file front to back in 1 MiB blocks; returns its size.
uint64_t ReadSequentially(const std::string& path) {
  int fd = open(path.c_str(), O_RDONLY);
  if (fd < 0) return 0;
  std::vector<char> block(1 << 20);
  uint64_t total = 0;
  ssize_t n;
  while ((n = read(fd, block.data(), block.size())) > 0) total += static_cast<uint64_t>(n);
  close(fd);
  return total;
}

// Where one long value is: table, record and value positions, and its LID.
struct LongValueRef {
  int table = 0;
  int record = 0;
  int value = 0;
  uint32_t lid = 0;
};

struct TableRefs {
  std::u16string name;
  std::vector<LongValueRef> values;
};

// Walks every record of every table through libesedb and notes each value
// flagged as long value.
std::vector<TableRefs> CollectLongValues(const std::string& path) {
  std::vector<TableRefs> tables;
  edb::EsedbError error;
  edb::EsedbFile file = edb::OpenEsedbFile(path, &error);
  if (!file) return tables;
  int table_count = 0;
  libesedb_file_get_number_of_tables(file.get(), &table_count, nullptr);
  for (int t = 0; t < table_count; ++t) {
    edb::EsedbTable table;
    TableRefs refs;
    if (!edb::TableByIndex(file.get(), t, &table, &error) || !edb::TableName(table.get(), &refs.name, &error)) continue;
    int records = 0;
    libesedb_table_get_number_of_records(table.get(), &records, nullptr);
    for (int r = 0; r < records; ++r) {
      edb::EsedbRecord record;
      if (!edb::RecordByIndex(table.get(), r, &record, &error)) continue;
      int values = 0;
      libesedb_record_get_number_of_values(record.get(), &values, nullptr);
      for (int v = 0; v < values; ++v) {
        uint32_t lid = 0;
        std::string message;
        if (edb::LongValueIdOf(record.get(), v, &lid, &message)) refs.values.push_back({t, r, v, lid});
      }
    }
    if (!refs.values.empty()) tables.push_back(std::move(refs));
  }
  return tables;
}

struct ReaderFigures {
  double seconds = 0;
  uint64_t bytes = 0;
  uint64_t chunks = 0;
  int failures = 0;
};

// Reads every noted long value, table by table, with the own reader: the
// index is built on the first value of each table.
ReaderFigures ReadWithOwnReader(const std::string& path, const std::vector<TableRefs>& tables) {
  ReaderFigures figures;
  auto start = Clock::now();
  std::string error;
  std::shared_ptr<edb::EseFile> file = edb::EseFile::Open(path, &error);
  edb::EseCatalog catalog;
  if (!file || !catalog.Read(*file, &error)) {
    std::fprintf(stderr, "own reader cannot read %s: %s\n", path.c_str(), error.c_str());
    figures.failures = -1;
    return figures;
  }
  edb::NullCorruptionReporter reporter;
  std::vector<edb::LongValueChunk> chunks;
  std::vector<uint8_t> data;
  for (const TableRefs& refs : tables) {
    const edb::CatalogTable* table = catalog.FindTable(refs.name);
    if (table == nullptr) continue;
    edb::LongValueReader reader(file, edb::Utf16ToUtf8(refs.name),
                                {table->long_value_root_page, table->long_value_object_id, edb::kPageFlagLongValue},
                                &reporter);
    for (const LongValueRef& ref : refs.values) {
      if (!reader.Resolve(ref.lid, &chunks, &error)) {
        ++figures.failures;
        continue;
      }
      for (const auto& chunk : chunks) {
        if (!reader.ReadChunk(chunk, &data, &error)) ++figures.failures;
        figures.bytes += data.size();
        ++figures.chunks;
      }
    }
  }
  figures.seconds = SecondsSince(start);
  return figures;
}

// The product's path: every record through libesedb, every long value
// through the provider's sources. Returns the seconds taken.
double ReadThroughProvider(const std::string& path, int* failures) {
  auto start = Clock::now();
  edb::FastLongValueProvider provider(path, nullptr, [](const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
  });
  edb::EsedbError error;
  edb::EsedbFile file = edb::OpenEsedbFile(path, &error);
  int table_count = 0;
  libesedb_file_get_number_of_tables(file.get(), &table_count, nullptr);
  std::vector<uint8_t> data;
  std::string message;
  for (int t = 0; t < table_count; ++t) {
    edb::EsedbTable table;
    std::u16string name;
    if (!edb::TableByIndex(file.get(), t, &table, &error) || !edb::TableName(table.get(), &name, &error)) continue;
    auto source = provider.ForTable(name);
    int records = 0;
    libesedb_table_get_number_of_records(table.get(), &records, nullptr);
    for (int r = 0; r < records; ++r) {
      edb::EsedbRecord record;
      if (!edb::RecordByIndex(table.get(), r, &record, &error)) continue;
      int values = 0;
      libesedb_record_get_number_of_values(record.get(), &values, nullptr);
      for (int v = 0; v < values; ++v) {
        uint8_t flags = 0;
        if (libesedb_record_get_value_data_flags(record.get(), v, &flags, nullptr) != 1 || (flags & 0x04) == 0)
          continue;
        auto segments = source->Open(record.get(), v, &message);
        if (!segments) {
          ++*failures;
          continue;
        }
        for (int i = 0; i < segments->count(); ++i) {
          if (!segments->Segment(i, &data, &message)) ++*failures;
        }
      }
    }
  }
  return SecondsSince(start);
}

// libesedb's own time per long value over `sample` values spread evenly
// over all of them (open, every segment, free).
double EsedbSecondsPerValue(const std::string& path, const std::vector<TableRefs>& tables, int sample) {
  std::vector<LongValueRef> all;
  for (const TableRefs& refs : tables) all.insert(all.end(), refs.values.begin(), refs.values.end());
  if (all.empty() || sample <= 0) return 0;
  edb::EsedbError error;
  edb::EsedbFile file = edb::OpenEsedbFile(path, &error);
  edb::EsedbLongValueSource esedb;
  std::vector<uint8_t> data;
  std::string message;
  double total = 0;
  int measured = 0;
  size_t step = std::max<size_t>(1, all.size() / static_cast<size_t>(sample));
  for (size_t i = step / 2; i < all.size() && measured < sample; i += step) {
    const LongValueRef& ref = all[i];
    edb::EsedbTable table;
    edb::EsedbRecord record;
    if (!edb::TableByIndex(file.get(), ref.table, &table, &error) ||
        !edb::RecordByIndex(table.get(), ref.record, &record, &error))
      continue;
    auto start = Clock::now();
    auto segments = esedb.Open(record.get(), ref.value, &message);
    if (segments) {
      for (int s = 0; s < segments->count(); ++s) segments->Segment(s, &data, &message);
    }
    total += SecondsSince(start);
    ++measured;
  }
  return measured > 0 ? total / measured : 0;
}

}  // namespace

int main(int argc, char** argv) {
  int sample = 40;
  int repeat = 3;
  std::vector<std::string> stores;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--esedb-sample") == 0 && i + 1 < argc) {
      sample = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--repeat") == 0 && i + 1 < argc) {
      repeat = std::max(1, std::atoi(argv[++i]));
    } else {
      stores.push_back(argv[i]);
    }
  }
  if (stores.empty()) {
    std::fprintf(stderr, "usage: bench_long_values [--esedb-sample N] [--repeat R] STORE.edb...\n");
    return 2;
  }

  std::vector<Timing> reader_times;
  for (const std::string& path : stores) {
    uint64_t size = ReadSequentially(path);  // brings the file into the page cache
    if (size == 0) {
      std::fprintf(stderr, "cannot read %s\n", path.c_str());
      return 1;
    }
    Timing sequential = BestOf(repeat, [&] { ReadSequentially(path); });

    auto walk_start = Clock::now();
    std::vector<TableRefs> tables = CollectLongValues(path);
    double walk = SecondsSince(walk_start);
    size_t count = 0;
    for (const TableRefs& refs : tables) count += refs.values.size();

    ReaderFigures figures;
    Timing reader = BestOf(repeat, [&] { figures = ReadWithOwnReader(path, tables); });
    int provider_failures = 0;
    double provider = ReadThroughProvider(path, &provider_failures);
    double esedb_each = EsedbSecondsPerValue(path, tables, sample);
    reader_times.push_back(reader);

    std::printf("%s: %.1f MB, %zu long values in %zu tables, %llu chunks, %.1f MB of long-value data\n",
                path.c_str(), size / 1e6, count, tables.size(), static_cast<unsigned long long>(figures.chunks),
                figures.bytes / 1e6);
    std::printf("  sequential read of the file          %8.3f s wall, %.3f s processor (%.0f MB/s)\n", sequential.wall,
                sequential.cpu, size / 1e6 / sequential.wall);
    std::printf("  own reader, every long value         %8.3f s wall, %.3f s processor%s\n", reader.wall, reader.cpu,
                figures.failures != 0 ? "  (with failures)" : "");
    std::printf("    = %.2f x the sequential read (wall), %.2f x (processor)\n", reader.wall / sequential.wall,
                reader.cpu / sequential.cpu);
    std::printf("  libesedb record walk (no long values) %7.3f s\n", walk);
    std::printf("  record walk + every long value through the provider %.3f s (%d failures)\n", provider,
                provider_failures);
    std::printf("  libesedb long-value functions        %8.2f ms per value (sample of %d), about %.0f s for all\n",
                esedb_each * 1e3, std::min<int>(sample, static_cast<int>(count)), esedb_each * count);
  }
  if (reader_times.size() >= 2) {
    std::printf("own reader: the last store takes %.2f x the time of the first (wall), %.2f x (processor)\n",
                reader_times.back().wall / reader_times.front().wall, reader_times.back().cpu / reader_times.front().cpu);
  }
  return 0;
}
