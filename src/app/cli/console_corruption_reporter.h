// Reports skipped damage on standard error, one line each as it is met, and
// at the end of the command one line per damaged object saying what it cost.
#pragma once

#include "base/corruption_reporter.h"
#include "base/damage_costs.h"

namespace edbcli {

class ConsoleCorruptionReporter : public edb::CorruptionReporter {
 public:
  void Corruption(std::string_view where, std::string_view reason) override;
  // Kept for the closing lines: nothing is printed now.
  void Cost(std::string_view damage, edb::Loss loss, std::string_view object) override;
  // How many reports were made.
  int count() const { return count_; }
  // How many reports every reporter of this process made: the command
  // line's exit code and closing count come from it. One thread reports.
  static int process_count() { return process_count_; }
  // Prints what each damaged object cost, for every reporter of this
  // process ("edbrecover: damaged <where>: bodies of 3 items lost").
  static void PrintProcessCosts();

 private:
  int count_ = 0;
  static int process_count_;
  static edb::DamageCosts process_costs_;
};

}  // namespace edbcli
