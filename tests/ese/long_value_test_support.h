// Helpers for the long-value reader tests: visiting every long value of a
// database through libesedb, reading a long value out of a source, and
// writing stores full of long values with the ESE writer.
#pragma once

#include <libesedb.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "base/corruption_reporter.h"
#include "ese/long_value_source.h"

namespace lvtest {

// A long value as a source delivers it: its segments, or the error.
struct ReadOutcome {
  bool ok = false;
  std::string error;
  std::vector<std::vector<uint8_t>> segments;
};

ReadOutcome ReadAllSegments(edb::LongValueSource& source, libesedb_record_t* record, int value);

// Calls `visit` for every value flagged as long value (0x04) of every
// record of every table of the database at `path`, which libesedb must
// open. Returns the number of such values.
using LongValueVisit = std::function<void(const std::u16string& table, libesedb_record_t* record, int value)>;
int ForEachLongValue(const std::string& path, const LongValueVisit& visit);

// Compares, for every long value of `path`, what libesedb's functions and
// the fast provider deliver. Returns the number compared; every
// difference is added to `differences`. With `segment_counts`, counts the
// values by their number of segments.
int CompareWithLibesedb(const std::string& path, std::vector<std::string>* differences,
                        std::map<size_t, int>* segment_counts = nullptr);

// The segments of `outcome` one after the other.
std::vector<uint8_t> Concatenated(const ReadOutcome& outcome);

// Remembers every report.
class RecordingReporter : public edb::CorruptionReporter {
 public:
  void Corruption(std::string_view where, std::string_view reason) override {
    reports.push_back(std::string(where) + ": " + std::string(reason));
  }
  std::vector<std::string> reports;
};

// A value of `size` bytes that differs from every other value the tests
// make with another `seed`.
std::vector<uint8_t> PatternBytes(size_t size, uint32_t seed);

}  // namespace lvtest
