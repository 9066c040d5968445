// Where each record of a table lies: one walk over the table's data tree
// (in key order, the order libesedb gives records in) notes for every live
// leaf entry its page and tag, six bytes a record, so that the record at
// any position is found in constant time afterwards.
//
// The walk is damage-tolerant (see TreeWalk): a damaged leaf page costs its
// records, a damaged branch page the key range it covers, and each such
// loss is reported once to the CorruptionReporter with the page and, when
// its header tells, the number of records lost. A page whose checksum
// fails but whose structure holds gives its records, reported as suspect.
//
// Not thread-safe; the file and the reporter must outlive the locator.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/corruption_reporter.h"
#include "ese/ese_page.h"
#include "ese/ese_tree.h"

namespace edb::ese {

struct RecordLocation {
  uint32_t page = 0;
  uint16_t tag = 0;
};

class DataTreeLocator {
 public:
  // Walks the tree `shape` of `file` at once; `table_name` names the table
  // in reports.
  DataTreeLocator(const EseFile& file, const TreeShape& shape, const std::string& table_name,
                  CorruptionReporter& reporter);

  int64_t record_count() const { return static_cast<int64_t>(tags_.size()); }
  // 0 <= position < record_count().
  RecordLocation At(int64_t position) const { return {pages_[position], tags_[position]}; }

  // Losses the walk met: damaged pages or ranges (each reported).
  int damage_count() const { return damage_count_; }
  int suspect_page_count() const { return suspect_page_count_; }

 private:
  friend class LocatorVisitor;
  std::vector<uint32_t> pages_;
  std::vector<uint16_t> tags_;
  int damage_count_ = 0;
  int suspect_page_count_ = 0;
};

}  // namespace edb::ese
