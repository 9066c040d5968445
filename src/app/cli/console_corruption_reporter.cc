// Damage reports on standard error.
#include "console_corruption_reporter.h"

#include <cstdio>
#include <string>

namespace edbcli {

int ConsoleCorruptionReporter::process_count_ = 0;

void ConsoleCorruptionReporter::Corruption(std::string_view where, std::string_view reason) {
  ++count_;
  ++process_count_;
  std::fprintf(stderr, "edbrecover: skipped %s: %s\n", std::string(where).c_str(), std::string(reason).c_str());
}

}  // namespace edbcli
