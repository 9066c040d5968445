// The one way damaged input is reported. The reader that finds a damaged
// page, record or value calls Corruption() once for it and carries on with
// the rest; layers above that lose something because of it do not report it
// again but call Cost() with the `where` of that report.
#pragma once

#include <string_view>

namespace edb {

// What a layer above the reader lost to damage already reported.
enum class Loss {
  kBody,        // a body of an item (the object is the item's key)
  kAttachment,  // an attachment's data (the object names its record)
  kRecord,      // a record a handler could not read (the object names it)
};

// Implementations are called from the thread that reads the store; they need
// not be thread-safe unless their owner shares them.
class CorruptionReporter {
 public:
  virtual ~CorruptionReporter() = default;
  // `where` names what was skipped ("table Msg, record 17", "long value 0x2a
  // of table Msg"); `reason` says why.
  virtual void Corruption(std::string_view where, std::string_view reason) = 0;
  // `damage` is the `where` of an earlier Corruption() report; `object`
  // names the one thing of kind `loss` it cost (the same object named twice
  // is one loss). The default keeps no account.
  virtual void Cost(std::string_view damage, Loss loss, std::string_view object) {
    (void)damage;
    (void)loss;
    (void)object;
  }
};

// Discards every report.
class NullCorruptionReporter : public CorruptionReporter {
 public:
  void Corruption(std::string_view, std::string_view) override {}
};

}  // namespace edb
