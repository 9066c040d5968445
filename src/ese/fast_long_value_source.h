// The long-value provider that reads long values with the store reader's
// own long-value tree reader (one index per table, read at the speed of the
// disk) instead of libesedb's long-value functions, whose every read walks
// the rest of the tree. A database whose layout the reader does not know,
// or whose catalog it cannot read, is served by libesedb's functions
// instead, and the caller is told so once.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "base/corruption_reporter.h"
#include "ese/ese_catalog.h"
#include "ese/ese_page.h"
#include "ese/long_value_source.h"
#include "ese/long_value_reader.h"

namespace edb {

class FastLongValueProvider : public LongValueProvider {
 public:
  // Receives one line of text for the status line or stderr.
  using Notice = std::function<void(const std::string& text)>;

  // Opens the database at `path` read-only for its own reading. Damage is
  // reported to `reporter` (null: discarded), which must outlive the
  // provider and every source it hands out (sources may outlive the
  // provider: they keep the file open). `notice` (may be empty) hears
  // once when the database falls back to libesedb's functions, and once
  // for each table the catalog does not describe.
  FastLongValueProvider(const std::string& path, CorruptionReporter* reporter, Notice notice);

  std::unique_ptr<LongValueSource> ForTable(const std::u16string& table_name) override;
  int ColumnCodePage(const std::u16string& table_name, const std::u16string& column_name) const override;

  // True when long values are read by the own reader (no fallback for the
  // whole database).
  bool reads_itself() const { return file_ != nullptr; }
  // Why the database falls back to libesedb; empty when it does not.
  const std::string& fallback_reason() const { return fallback_reason_; }

 private:
  void Tell(const std::string& text);

  CorruptionReporter* reporter_;
  Notice notice_;
  std::shared_ptr<const EseFile> file_;
  EseCatalog catalog_;
  std::string fallback_reason_;
  std::mutex mutex_;
  std::map<std::u16string, std::shared_ptr<LongValueReader>> readers_;
};

// Reads the long values of one table through a LongValueReader. A record
// value flagged as long value (0x04) holds its LID: 4 bytes, little-endian.
class FastLongValueSource : public LongValueSource {
 public:
  explicit FastLongValueSource(std::shared_ptr<LongValueReader> reader) : reader_(std::move(reader)) {}
  std::unique_ptr<LongValueSegments> Open(libesedb_record_t* record, int value, std::string* error) override;

 private:
  std::shared_ptr<LongValueReader> reader_;
};

// The LID held by value `value` of `record`, as libesedb reports the value:
// its flags must carry 0x04 (long value) and not 0x08 (multi-value), and its
// data must be exactly 4 bytes. False, with `error` set, otherwise.
bool LongValueIdOf(libesedb_record_t* record, int value, uint32_t* lid, std::string* error);

}  // namespace edb
