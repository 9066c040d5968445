// Helpers for the long-value reader tests.
#include "long_value_test_support.h"

#include "ese/esedb_handles.h"
#include "ese/fast_long_value_source.h"
#include "base/text_encoding.h"

namespace lvtest {

ReadOutcome ReadAllSegments(edb::LongValueSource& source, libesedb_record_t* record, int value) {
  ReadOutcome outcome;
  auto segments = source.Open(record, value, &outcome.error);
  if (!segments) return outcome;
  for (int i = 0; i < segments->count(); ++i) {
    std::vector<uint8_t> data;
    if (!segments->Segment(i, &data, &outcome.error)) return outcome;
    outcome.segments.push_back(std::move(data));
  }
  outcome.ok = true;
  return outcome;
}

int ForEachLongValue(const std::string& path, const LongValueVisit& visit) {
  edb::EsedbError error;
  edb::EsedbFile file = edb::OpenEsedbFile(path, &error);
  if (!file) return -1;
  int tables = 0;
  int found = 0;
  libesedb_file_get_number_of_tables(file.get(), &tables, nullptr);
  for (int t = 0; t < tables; ++t) {
    edb::EsedbTable table;
    std::u16string name;
    if (!edb::TableByIndex(file.get(), t, &table, &error) || !edb::TableName(table.get(), &name, &error)) continue;
    int records = 0;
    libesedb_table_get_number_of_records(table.get(), &records, nullptr);
    for (int r = 0; r < records; ++r) {
      edb::EsedbRecord record;
      if (!edb::RecordByIndex(table.get(), r, &record, &error)) continue;
      int values = 0;
      libesedb_record_get_number_of_values(record.get(), &values, nullptr);
      for (int v = 0; v < values; ++v) {
        uint8_t flags = 0;
        if (libesedb_record_get_value_data_flags(record.get(), v, &flags, nullptr) != 1) continue;
        if ((flags & 0x04) == 0) continue;
        ++found;
        visit(name, record.get(), v);
      }
    }
  }
  return found;
}

int CompareWithLibesedb(const std::string& path, std::vector<std::string>* differences,
                        std::map<size_t, int>* segment_counts) {
  edb::FastLongValueProvider provider(path, nullptr, {});
  if (!provider.reads_itself()) differences->push_back("fell back: " + provider.fallback_reason());
  edb::EsedbLongValueSource esedb;
  return ForEachLongValue(path, [&](const std::u16string& table, libesedb_record_t* record, int value) {
    auto ours = provider.ForTable(table);
    ReadOutcome expected = ReadAllSegments(esedb, record, value);
    ReadOutcome actual = ReadAllSegments(*ours, record, value);
    if (segment_counts != nullptr) ++(*segment_counts)[actual.segments.size()];
    std::string where = edb::Utf16ToUtf8(table) + " value " + std::to_string(value);
    if (expected.ok != actual.ok) {
      differences->push_back(where + ": libesedb " + (expected.ok ? "ok" : expected.error) + ", ours " +
                             (actual.ok ? "ok" : actual.error));
    } else if (expected.segments.size() != actual.segments.size()) {
      differences->push_back(where + ": " + std::to_string(expected.segments.size()) + " segments, ours " +
                             std::to_string(actual.segments.size()));
    } else if (expected.segments != actual.segments) {
      differences->push_back(where + ": segment bytes differ");
    }
  });
}

std::vector<uint8_t> Concatenated(const ReadOutcome& outcome) {
  std::vector<uint8_t> all;
  for (const auto& segment : outcome.segments) all.insert(all.end(), segment.begin(), segment.end());
  return all;
}

std::vector<uint8_t> PatternBytes(size_t size, uint32_t seed) {
  std::vector<uint8_t> bytes(size);
  uint32_t state = seed * 2654435761u + 1;
  for (size_t i = 0; i < size; ++i) {
    state = state * 1103515245u + 12345u;
    bytes[i] = static_cast<uint8_t>(state >> 16);
  }
  return bytes;
}

}  // namespace lvtest
