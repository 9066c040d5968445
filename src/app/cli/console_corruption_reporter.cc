// Damage reports on standard error.
#include "console_corruption_reporter.h"

#include <cstdio>
#include <string>

namespace edbcli {

int ConsoleCorruptionReporter::process_count_ = 0;
edb::DamageCosts ConsoleCorruptionReporter::process_costs_;

void ConsoleCorruptionReporter::Corruption(std::string_view where, std::string_view reason) {
  ++count_;
  ++process_count_;
  std::fprintf(stderr, "edbrecover: skipped %s: %s\n", std::string(where).c_str(), std::string(reason).c_str());
}

void ConsoleCorruptionReporter::Cost(std::string_view damage, edb::Loss loss, std::string_view object) {
  process_costs_.Add(damage, loss, object);
}

void ConsoleCorruptionReporter::PrintProcessCosts() {
  for (const auto& [damage, cost] : process_costs_.Lines()) {
    std::fprintf(stderr, "edbrecover: damaged %s: %s\n", damage.c_str(), cost.c_str());
  }
}

}  // namespace edbcli
