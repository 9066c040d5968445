// Write speed and peak memory of the ESE database writer: a table of 200,000
// small records, then about 1 GB of long values (100,000 message bodies of
// 10 KiB). Prints figures; the databases go to a scratch folder that is
// removed afterwards.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "ese/database_writer.h"

namespace {

using esewriter::ColumnType;
using esewriter::Value;

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

long PeakResidentKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

void Report(const char* what, const std::filesystem::path& file, double seconds) {
  const double mib = static_cast<double>(std::filesystem::file_size(file)) / (1024.0 * 1024.0);
  std::printf("%-44s %8.1f MiB %7.2f s %8.1f MiB/s  peak RSS %ld KiB\n", what, mib, seconds, mib / seconds,
              PeakResidentKiB());
}

void WriteSmallRecords(const std::filesystem::path& file) {
  const auto start = std::chrono::steady_clock::now();
  esewriter::DatabaseWriter db({.page_size = 8192, .scratch_directory = file.parent_path().string()});
  esewriter::TableWriter& table = db.AddTable(
      {"Msg", {{"Id", ColumnType::kLong}, {"Subject", ColumnType::kText}, {"Received", ColumnType::kDateTime}}});
  for (int i = 0; i < 200000; ++i) {
    table.Append({Value::I32(i), Value::Text1252("Subject of message " + std::to_string(i)),
                  Value::I64(127000000000000000LL + i)});
  }
  db.Finish(file.string());
  Report("200,000 records (8 KiB pages)", file, Seconds(start));
}

void WriteLongValues(const std::filesystem::path& file, uint32_t page_size) {
  const auto start = std::chrono::steady_clock::now();
  esewriter::DatabaseWriter db({.page_size = page_size, .scratch_directory = file.parent_path().string()});
  esewriter::TableWriter& table = db.AddTable(
      {"Msg", {{"Id", ColumnType::kLong}, {"Subject", ColumnType::kText}, {"Body", ColumnType::kLongBinary}}});
  std::vector<uint8_t> body(10240);
  for (int i = 0; i < 100000; ++i) {
    for (size_t k = 0; k < body.size(); k += 64) body[k] = static_cast<uint8_t>(i + k);
    table.Append({Value::I32(i), Value::Text1252("Subject " + std::to_string(i)), Value::Bytes(body)});
  }
  db.Finish(file.string());
  Report(page_size == 4096 ? "1 GB of long values (4 KiB pages)" : "1 GB of long values (8 KiB pages)", file,
         Seconds(start));
}

}  // namespace

int main() {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "bench-ese-writer";
  std::filesystem::create_directories(folder);
  WriteSmallRecords(folder / "records.edb");
  std::filesystem::remove(folder / "records.edb");
  WriteLongValues(folder / "long_values_8k.edb", 8192);
  std::filesystem::remove(folder / "long_values_8k.edb");
  WriteLongValues(folder / "long_values_4k.edb", 4096);
  std::filesystem::remove_all(folder);
  return 0;
}
