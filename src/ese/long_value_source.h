// Access to long values (record values with flag 0x04) by segment, the way
// libesedb's long-value functions present them: a number of segments, then
// each segment's bytes. Two sources implement it: libesedb itself (slow on
// large stores) and the store reader's own long-value tree reader.
#pragma once

#include <libesedb.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace edb {

// The segments of one long value.
class LongValueSegments {
 public:
  virtual ~LongValueSegments() = default;
  virtual int count() const = 0;
  // Fills `data` with segment `index`; false, with `error` set, when the
  // segment cannot be read.
  virtual bool Segment(int index, std::vector<uint8_t>* data, std::string* error) = 0;
};

// Opens the long value behind value `value` of a record. Bound to one table
// of one open database: records passed in must come from that table.
class LongValueSource {
 public:
  virtual ~LongValueSource() = default;
  // Null, with `error` set, when the value is not a long value or cannot be
  // opened.
  virtual std::unique_ptr<LongValueSegments> Open(libesedb_record_t* record, int value, std::string* error) = 0;
};

// libesedb's own long-value functions.
class EsedbLongValueSource : public LongValueSource {
 public:
  std::unique_ptr<LongValueSegments> Open(libesedb_record_t* record, int value, std::string* error) override;
};

// Hands out the long-value source of each table of one open database.
class LongValueProvider {
 public:
  virtual ~LongValueProvider() = default;
  // The source for the table named `table_name`; never null (a provider that
  // cannot serve a table falls back to libesedb's functions for it).
  virtual std::unique_ptr<LongValueSource> ForTable(const std::u16string& table_name) = 0;
  // The code page the catalog records for column `column_name` of table
  // `table_name` (its template's columns included): 1200 for UTF-16, 1252
  // for Windows-1252; 0 when unknown.
  virtual int ColumnCodePage(const std::u16string& table_name, const std::u16string& column_name) const {
    (void)table_name;
    (void)column_name;
    return 0;
  }
};

// Serves every table through libesedb's own long-value functions.
class EsedbLongValueProvider : public LongValueProvider {
 public:
  std::unique_ptr<LongValueSource> ForTable(const std::u16string&) override {
    return std::make_unique<EsedbLongValueSource>();
  }
};

// A record together with the long-value source of its table: what every
// renderer and record handler reads values through.
struct RecordRef {
  libesedb_record_t* record = nullptr;
  LongValueSource* long_values = nullptr;
};

}  // namespace edb
