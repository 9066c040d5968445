// Msg records to message index entries.
#include "store/message_index_handler.h"

#include "store/located_values.h"

namespace edb {

RecordOutcome HandleMessageIndexRecord(StoreSession& session, const RecordRef& record,
                                       const ColumnPositions& columns, int32_t index) {
  if (NumberOfValues(record) == 0) return RecordOutcome::kUnreadable;
  MsgIndexEntry entry;
  entry.key = IdentifierAt(record, columns.message_key, ByteOrder::kBigEndian, std::nullopt);
  entry.record = index;
  entry.text = ValueTextAt(record, columns.attachment_ids, std::nullopt);
  session.message_index.push_back(std::move(entry));
  return RecordOutcome::kHandled;
}

}  // namespace edb
