// Reports skipped damage on standard error, one line each.
#pragma once

#include "base/corruption_reporter.h"

namespace edbcli {

class ConsoleCorruptionReporter : public edb::CorruptionReporter {
 public:
  void Corruption(std::string_view where, std::string_view reason) override;
  // How many reports were made.
  int count() const { return count_; }
  // How many reports every reporter of this process made: the command
  // line's exit code and closing count come from it. One thread reports.
  static int process_count() { return process_count_; }

 private:
  int count_ = 0;
  static int process_count_;
};

}  // namespace edbcli
