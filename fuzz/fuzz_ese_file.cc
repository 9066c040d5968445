// Fuzzes whole database files through our own reader: a store written once
// by our writer (4 KiB pages: records, 7-bit text, multi-values, long
// values) is changed as the input says, every changed page's checksum
// repaired unless the input says not to (so that the structural checks are
// what meets the change), and read in full: every table, record, value,
// text, multi-value member and long value.
//
// Input: groups of 4 bytes: page (mod the page count), offset (2 bytes,
// mod the page size), new byte; a group whose page byte has bit 7 set
// leaves that page's checksum as it is.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "ese/database.h"
#include "ese/database_writer.h"
#include "ese/native_database.h"
#include "ese/page_checksum.h"
#include "base/corruption_reporter.h"

namespace {

constexpr uint32_t kPageSize = 4096;

std::string ScratchPath(const char* name) {
  return "/tmp/fuzz_ese_file_" + std::to_string(getpid()) + "_" + name;
}

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

const std::vector<uint8_t>& CleanStore() {
  static const std::vector<uint8_t> clean = [] {
    using esewriter::ColumnType;
    using esewriter::Value;
    const std::string path = ScratchPath("clean.edb");
    esewriter::DatabaseWriter db({.page_size = kPageSize});
    esewriter::TableWriter& table = db.AddTable({"Msg",
                                                 {{"Id", ColumnType::kLong},
                                                  {"Subject", ColumnType::kText, 1200},
                                                  {"Body", ColumnType::kLongText, 1252},
                                                  {"Tags", ColumnType::kText, 1252, true},
                                                  {"Big", ColumnType::kLongBinary}}});
    for (int i = 0; i < 120; ++i) {
      table.Append({Value::I32(i), Value::Text1200(u"subject"),
                    i % 3 == 0 ? Value::Compressed7Bit("compressed body " + std::to_string(i))
                               : Value::Text1252("body " + std::to_string(i)),
                    i % 2 == 0 ? Value::Multi({{'a'}, {'b', 'c'}, {'d', 'e', 'f'}}) : Value::Multi({{'x'}, {'y'}}),
                    i % 5 == 0 ? Value::Bytes(std::vector<uint8_t>(6000 + i, static_cast<uint8_t>(i))) : Value::Null()});
    }
    db.Finish(path);
    std::vector<uint8_t> bytes = ReadFile(path);
    std::remove(path.c_str());
    return bytes;
  }();
  return clean;
}

void ReadEverything(const std::string& path) {
  edb::NullCorruptionReporter reporter;
  auto db = edb::ese::OpenNativeDatabase(path, reporter);
  if (!db.ok()) return;
  for (int t = 0; t < (*db)->table_count(); ++t) {
    auto table = (*db)->OpenTable(t);
    if (!table.ok()) continue;
    auto count = (*table)->RecordCount();
    for (int64_t r = 0; count.ok() && r < *count; ++r) {
      auto record = (*table)->ReadRecord(r);
      if (!record.ok()) continue;
      for (int v = 0; v < (*record)->value_count(); ++v) {
        edb::ese::Value value;
        (void)(*record)->ReadValue(v, &value);
        (void)(*record)->ValueText(v);
        if (auto multi = (*record)->OpenMultiValue(v); multi.ok()) {
          std::vector<uint8_t> member;
          for (int m = 0; m < (*multi)->count(); ++m) {
            (void)(*multi)->Member(m, &member);
            (void)(*multi)->MemberText(m);
          }
        }
        if (auto long_value = (*record)->OpenLongValue(v); long_value.ok()) {
          std::vector<uint8_t> segment;
          for (int s = 0; s < (*long_value)->segment_count(); ++s) (void)(*long_value)->ReadSegment(s, &segment);
        }
      }
    }
  }
}

// The file each input is written to, removed when the process ends.
struct ScratchFile {
  std::string path;
  ~ScratchFile() { std::remove(path.c_str()); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> bytes = CleanStore();
  const uint32_t pages = static_cast<uint32_t>(bytes.size() / kPageSize - 2);
  std::set<uint32_t> repaired;
  for (size_t at = 0; at + 4 <= size; at += 4) {
    const uint32_t page = 1 + (data[at] & 0x7f) % pages;
    const size_t offset = (data[at + 1] | (data[at + 2] << 8)) % kPageSize;
    bytes[(size_t{page} + 1) * kPageSize + offset] = data[at + 3];
    if ((data[at] & 0x80) == 0) repaired.insert(page);
  }
  for (uint32_t page : repaired)
    esewriter::StampPageChecksums(std::span<uint8_t>(bytes.data() + (size_t{page} + 1) * kPageSize, kPageSize), page);
  static const ScratchFile scratch{ScratchPath("input.edb")};
  const std::string& path = scratch.path;
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  ReadEverything(path);
  return 0;
}
