// A reporter that passes on each damaged object once: a second report with
// the same `where` (the same page, record or value met again, by a table
// opened again) is dropped. Costs always pass on.
// Thread-safe; `next` must outlive it.
#pragma once

#include <mutex>
#include <set>
#include <string>

#include "base/corruption_reporter.h"

namespace edb {

class ReportOnce : public CorruptionReporter {
 public:
  explicit ReportOnce(CorruptionReporter& next) : next_(next) {}

  void Corruption(std::string_view where, std::string_view reason) override;
  void Cost(std::string_view damage, Loss loss, std::string_view object) override;

 private:
  CorruptionReporter& next_;
  std::mutex mutex_;
  std::set<std::string, std::less<>> reported_;
};

}  // namespace edb
