// The one way damaged input is reported. Readers that skip a damaged record,
// table or value call Corruption() and carry on with the rest.
#pragma once

#include <string_view>

namespace edb {

class CorruptionReporter {
 public:
  virtual ~CorruptionReporter() = default;
  // `where` names what was skipped ("table Msg, record 17", "long value 0x2a
  // of table Msg"); `reason` says why.
  virtual void Corruption(std::string_view where, std::string_view reason) = 0;
};

// Discards every report.
class NullCorruptionReporter : public CorruptionReporter {
 public:
  void Corruption(std::string_view, std::string_view) override {}
};

}  // namespace edb
