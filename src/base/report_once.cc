// Dropping reports of damage already reported.
#include "base/report_once.h"

namespace edb {

void ReportOnce::Corruption(std::string_view where, std::string_view reason) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!reported_.emplace(where).second) return;
  }
  next_.Corruption(where, reason);
}

void ReportOnce::Cost(std::string_view damage, Loss loss, std::string_view object) {
  next_.Cost(damage, loss, object);
}

}  // namespace edb
