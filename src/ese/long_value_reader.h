// Reads the long values of one table from its long-value tree, through the
// table's LongValueIndex, which walks the tree as far as the values asked
// for. A long value comes out as the chunks libesedb's long-value functions
// would give: starting at offset 0, each next chunk the one whose offset is
// the end of the one before, until there is none. Damage costs the long
// values it touches: a clear error for each, reported through the
// CorruptionReporter.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "base/corruption_reporter.h"
#include "ese/ese_page.h"
#include "ese/long_value_index.h"

namespace edb {

class RecentPages;

class LongValueReader {
 public:
  // `table_name` names the table in errors and reports. `shape.root_page` 0
  // means the table has no long-value tree. `reporter` must outlive the
  // reader.
  LongValueReader(std::shared_ptr<const EseFile> file, std::string table_name, TreeShape shape,
                  CorruptionReporter* reporter);
  ~LongValueReader();

  // The chunks of long value `lid`, in the order they are read. False, with
  // `error` set, when the value is missing from the tree, lies in a part of
  // it that cannot be read, or is malformed. The damage is reported once per
  // reader however often it is met (a damaged page once for all the values
  // it held); `reported_as`, when given, receives the `where` of that report.
  // Thread-safe.
  bool Resolve(uint32_t lid, std::vector<LongValueChunk>* chunks, std::string* error,
               std::string* reported_as = nullptr);

  // Reads the bytes of `chunk` into `data`: from the leaf pages the index
  // walk read last when they hold it (values read in tree order cost one
  // pass over the file), else from the file. False, with `error` set, when
  // the file cannot be read there. Thread-safe.
  bool ReadChunk(const LongValueChunk& chunk, std::vector<uint8_t>* data, std::string* error);

  const std::string& table_name() const { return table_name_; }
  // The index of the whole tree (walks the rest of it). Thread-safe.
  const LongValueIndex& Index();

 private:
  bool Fail(uint32_t lid, const std::string& reason, std::string* error, std::string* reported_as);
  void ReportNewDamage();
  std::string PageWhere(uint32_t page) const;

  std::shared_ptr<const EseFile> file_;
  std::string table_name_;
  TreeShape shape_;
  CorruptionReporter* reporter_;
  std::mutex mutex_;
  std::unique_ptr<RecentPages> recent_;
  std::unique_ptr<LongValueIndex> index_;
  size_t reported_damage_ = 0;
  std::set<uint32_t> reported_values_;
};

}  // namespace edb
