// Where a Msg record fetched by position for its full content goes: the
// item-content reader implements this; the record handlers hand the record
// on to it.
#pragma once

#include "store/record_outcome.h"
#include "store/record_value.h"
#include "store/store_events.h"

namespace edb {

class ItemContentSink {
 public:
  virtual ~ItemContentSink() = default;
  // Reads every value of `record` once and keeps the item's content.
  // Returns kHandled when the record was read, kUnreadable when it is
  // missing, has no values, or a column name or type cannot be read
  // (nothing is kept then).
  virtual RecordOutcome ReadItem(const RecordRef& record, StoreEvents& events) = 0;
};

}  // namespace edb
