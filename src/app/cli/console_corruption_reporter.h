// Reports skipped damage on standard error, one line each.
#pragma once

#include "base/corruption_reporter.h"

namespace edbcli {

class ConsoleCorruptionReporter : public edb::CorruptionReporter {
 public:
  void Corruption(std::string_view where, std::string_view reason) override;
  // How many reports were made.
  int count() const { return count_; }

 private:
  int count_ = 0;
};

}  // namespace edbcli
