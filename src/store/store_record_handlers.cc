// The store's record handlers, each handing its records to the handler of
// its own file.
#include "store/store_record_handlers.h"

#include "store/attachment_handler.h"
#include "store/contents_row_handler.h"
#include "store/folder_handler.h"
#include "store/mailbox_handler.h"
#include "store/message_index_handler.h"

namespace edb {

StoreRecordHandlers::StoreRecordHandlers(StoreSession& session, CorruptionReporter& corruption,
                                         PrivateTempFolder* temp_folder, ItemContentSink* item_content)
    : session_(session), corruption_(corruption), temp_folder_(temp_folder), item_content_(item_content) {}

RecordOutcome StoreRecordHandlers::Mailbox(const RecordRef& record, const ColumnPositions& columns,
                                           StoreEvents& events) {
  mailbox_keys_.Invalidate();
  return HandleMailboxRecord(session_, record, columns, events);
}

RecordOutcome StoreRecordHandlers::Folder(const RecordRef& record, const ColumnPositions& columns,
                                          StoreEvents& events) {
  return HandleFolderRecord(session_, mailbox_keys_, record, columns, events);
}

RecordOutcome StoreRecordHandlers::MessageIndex(const RecordRef& record, const ColumnPositions& columns,
                                                int32_t index, StoreEvents&) {
  return HandleMessageIndexRecord(session_, record, columns, index);
}

RecordOutcome StoreRecordHandlers::Attachment(const RecordRef& record, const ColumnPositions& columns,
                                              int32_t index, StoreEvents& events) {
  return HandleAttachmentRecord(session_, corruption_, temp_folder_, record, columns, index, events);
}

RecordOutcome StoreRecordHandlers::ContentsRow(const RecordRef& record, const ColumnPositions&, int32_t,
                                               StoreEvents& events) {
  ContentsRowContext context{session_, corruption_, temp_folder_};
  return HandleContentsRow(context, record, events);
}

RecordOutcome StoreRecordHandlers::ItemContent(const RecordRef& record, StoreEvents& events) {
  if (item_content_ == nullptr) return RecordOutcome::kHandled;
  return item_content_->ReadItem(record, events);
}

}  // namespace edb
