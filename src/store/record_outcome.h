// What became of one record handed to a record handler or to the
// item-content reader.
#pragma once

namespace edb {

enum class RecordOutcome {
  // The record was read; what it yields (possibly nothing, as for a system
  // mailbox or folder) was added to the model.
  kHandled,
  // The record could not be read: it is missing, has no values, or a
  // column's name or type cannot be read. Nothing of it was kept. The caller
  // reports it and goes on with the next record.
  kUnreadable,
};

}  // namespace edb
