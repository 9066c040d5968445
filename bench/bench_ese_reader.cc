// Record reader benchmark: every value of every record of every table of a
// store (e.g. one written by `edbgen synthetic 100000`), read through the
// database seam with our own reader and with libesedb, against a sequential read of the whole
// file, in one run; prints the times, their ratios and the peak resident
// memory after each pass. Long values are left out of both passes (they
// have benchmarks of their own).
//
// Usage: bench_ese_reader STORE.edb [--native-only]
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "base/corruption_reporter.h"
#include "ese/database.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

long PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024;
}

struct Totals {
  int64_t records = 0;
  int64_t bytes = 0;
};

double SequentialRead(const std::string& path, uint64_t* size) {
  auto start = Clock::now();
  std::ifstream in(path, std::ios::binary);
  std::vector<char> buffer(1 << 20);
  *size = 0;
  while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) || in.gcount() > 0)
    *size += static_cast<uint64_t>(in.gcount());
  return Seconds(start);
}

// Every value of every record of every table, through the database seam.
double Scan(const std::string& path, edb::ese::ReaderChoice choice, Totals* totals) {
  auto start = Clock::now();
  edb::NullCorruptionReporter reporter;
  auto db = edb::ese::OpenDatabase(path, choice, reporter);
  if (!db.ok()) {
    std::fprintf(stderr, "%s\n", db.status().reason().c_str());
    return -1;
  }
  edb::ese::Value value;
  for (int t = 0; t < (*db)->table_count(); ++t) {
    auto table = (*db)->OpenTable(t);
    if (!table.ok()) continue;
    auto count = (*table)->RecordCount();
    for (int64_t r = 0; count.ok() && r < *count; ++r) {
      auto record = (*table)->ReadRecord(r);
      if (!record.ok()) continue;
      ++totals->records;
      for (int v = 0; v < (*record)->value_count(); ++v) {
        if ((*record)->ReadValue(v, &value).ok()) totals->bytes += static_cast<int64_t>(value.data.size());
      }
    }
  }
  return Seconds(start);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_ese_reader STORE.edb [--native-only]\n");
    return 2;
  }
  const std::string path = argv[1];
  const bool native_only = argc > 2 && std::strcmp(argv[2], "--native-only") == 0;
  uint64_t size = 0;
  SequentialRead(path, &size);  // warm the page cache
  double sequential = SequentialRead(path, &size);
  std::printf("sequential read: %.3f s (%.1f MB)\n", sequential, size / 1e6);
  Totals native;
  double native_time = Scan(path, edb::ese::ReaderChoice::kNative, &native);
  std::printf("native:   %.3f s, %lld records, %lld value bytes, %.1fx sequential, peak %ld MB\n", native_time,
              static_cast<long long>(native.records), static_cast<long long>(native.bytes), native_time / sequential,
              PeakMegabytes());
  if (native_only) return 0;
  Totals theirs;
  double libesedb_time = Scan(path, edb::ese::ReaderChoice::kLibesedb, &theirs);
  std::printf("libesedb: %.3f s, %lld records, %lld value bytes, %.1fx sequential, peak %ld MB\n", libesedb_time,
              static_cast<long long>(theirs.records), static_cast<long long>(theirs.bytes), libesedb_time / sequential,
              PeakMegabytes());
  std::printf("native is %.1fx faster than libesedb\n", libesedb_time / native_time);
  return 0;
}
