// Compares what our own reader hands up through the database seam with what
// libesedb reads from the same file: tables, columns, and record by record,
// value by value, the column type, flags and bytes, the segments of every
// long value, the members of every multi-value and the text of every text
// value.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/corruption_reporter.h"

namespace nativetest {

struct Agreement {
  int tables = 0;
  int64_t records = 0;
  int64_t values = 0;
  int64_t texts = 0;
  int64_t long_values = 0;
  int64_t multi_values = 0;
  // Tables libesedb cannot read (its reason), which the native reader read.
  std::vector<std::string> libesedb_refusals;
  std::vector<std::string> differences;  // the first few
  int64_t difference_count = 0;
};

// Reads every table of `path` both ways. `max_records` > 0 stops each table
// after that many records.
Agreement CompareWithLibesedb(const std::string& path, int64_t max_records = 0);

// The bytes of `text`.
inline std::vector<uint8_t> Bytes(std::string_view text) { return std::vector<uint8_t>(text.begin(), text.end()); }

// The first lines of `lines`, one per line.
std::string Join(const std::vector<std::string>& lines);

// Remembers every report.
class RecordingReporter : public edb::CorruptionReporter {
 public:
  void Corruption(std::string_view where, std::string_view reason) override {
    reports.push_back(std::string(where) + ": " + std::string(reason));
  }
  std::vector<std::string> reports;
};

}  // namespace nativetest
