// Whole-file mutation: stores from our writer, changed at random (bytes
// flipped, ranges zeroed, pages changed with their checksums repaired so
// that the structural checks are what meets them), read in full through our
// own reader: every table, record, value, text, multi-value and long value.
// Nothing may crash, hang or read outside its buffers (run it under
// AddressSanitizer for long runs: EDB_MUTATION_SECONDS=600).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <random>

#include "ese/database.h"
#include "ese/native_database.h"
#include "ese/page_checksum.h"
#include "native_agreement_support.h"
#include "test_support.h"
#include "esewriter/writer_support.h"

namespace {

using esewriter::ColumnType;
using esewriter::Value;

constexpr uint32_t kPageSize = 4096;

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void ReadEverything(const std::string& path) {
  nativetest::RecordingReporter reporter;
  auto db = edb::ese::OpenNativeDatabase(path, reporter);
  if (!db.ok()) return;
  for (int t = 0; t < (*db)->table_count(); ++t) {
    auto table = (*db)->OpenTable(t);
    if (!table.ok()) continue;
    auto count = (*table)->RecordCount();
    if (!count.ok()) continue;
    for (int64_t r = 0; r < *count; ++r) {
      auto record = (*table)->ReadRecord(r);
      if (!record.ok()) continue;
      for (int v = 0; v < (*record)->value_count(); ++v) {
        edb::ese::Value value;
        if (!(*record)->ReadValue(v, &value).ok()) continue;
        (void)(*record)->ValueText(v);
        if (auto multi = (*record)->OpenMultiValue(v); multi.ok()) {
          std::vector<uint8_t> member;
          for (int m = 0; m < (*multi)->count(); ++m) {
            (void)(*multi)->Member(m, &member);
            (void)(*multi)->MemberText(m);
            if ((*multi)->MemberIsLongValue(m)) (void)(*table)->OpenLongValue(member);
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

TEST(NativeMutation, RandomlyChangedStoresAreReadWithoutHarm) {
  const char* seconds_text = std::getenv("EDB_MUTATION_SECONDS");
  const int seconds = seconds_text != nullptr ? std::atoi(seconds_text) : 3;
  edbtest::ScratchDir scratch;
  const std::string clean_path = (scratch / "clean.edb").string();
  esewriter::TableSpec spec{"Msg",
                            {{"Id", ColumnType::kLong},
                             {"Subject", ColumnType::kText, 1200},
                             {"Body", ColumnType::kLongText, 1252},
                             {"Tags", ColumnType::kText, 1252, true},
                             {"Big", ColumnType::kLongBinary}}};
  std::vector<esewriter::Record> records;
  for (int i = 0; i < 200; ++i) {
    records.push_back({Value::I32(i), Value::Text1200(u"subject"),
                       i % 3 == 0 ? Value::Compressed7Bit("compressed body " + std::to_string(i))
                                  : Value::Text1252("body " + std::to_string(i)),
                       i % 2 == 0 ? Value::Multi({nativetest::Bytes("a"), nativetest::Bytes("bc"), nativetest::Bytes("def")})
                                  : Value::Multi({nativetest::Bytes("x"), nativetest::Bytes("y")}),
                       i % 5 == 0 ? Value::Bytes(esetest::Pattern(9000, static_cast<uint32_t>(i))) : Value::Null()});
  }
  esetest::WriteDatabase(clean_path, kPageSize, {{spec, records}});
  const std::vector<uint8_t> clean = ReadFile(clean_path);
  const size_t pages = clean.size() / kPageSize - 2;
  const std::string path = (scratch / "mutated.edb").string();

  std::mt19937 random(7);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  int runs = 0;
  while (std::chrono::steady_clock::now() < deadline) {
    std::vector<uint8_t> bytes = clean;
    const uint32_t page = 1 + static_cast<uint32_t>(random() % pages);
    std::span<uint8_t> span(bytes.data() + (size_t{page} + 1) * kPageSize, kPageSize);
    const int edits = 1 + static_cast<int>(random() % 6);
    for (int e = 0; e < edits; ++e) {
      const size_t at = random() % kPageSize;
      switch (random() % 4) {
        case 0: span[at] ^= static_cast<uint8_t>(1u << (random() % 8)); break;
        case 1: span[at] = static_cast<uint8_t>(random()); break;
        case 2: std::fill(span.begin() + static_cast<std::ptrdiff_t>(at),
                          span.begin() + static_cast<std::ptrdiff_t>(std::min<size_t>(kPageSize, at + random() % 64)), 0);
          break;
        default: span[kPageSize - 1 - random() % 64] = static_cast<uint8_t>(random()); break;  // the tag array
      }
    }
    if (random() % 4 != 0) esewriter::StampPageChecksums(span, page);
    WriteFile(path, bytes);
    ReadEverything(path);
    ++runs;
  }
  std::printf("%d mutated stores read\n", runs);
  EXPECT_GT(runs, 0);
}

}  // namespace
