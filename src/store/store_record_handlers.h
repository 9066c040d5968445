// The store's record handlers: what each record of "Mailbox", "Folders",
// "Msg", "1-23" and of a folder's contents table becomes in the session's
// lists, the tree and the message list. Full records of "Msg" fetched for
// their content go on to an ItemContentSink.
//
//   StoreRecordHandlers handlers(session, corruption, &temp_folder);
//   ReadContext context{session, events, handlers, corruption};
//   ScanDatabase(context);
#pragma once

#include "base/corruption_reporter.h"
#include "store/item_content_sink.h"
#include "store/mailbox_key_index.h"
#include "base/private_temp_folder.h"
#include "store/record_handlers.h"
#include "store/store_session.h"

namespace edb {

class StoreRecordHandlers : public RecordHandlers {
 public:
  // `session` is filled; damaged values that a handler skips are reported
  // to `corruption`; files the handlers write (attachment data in save
  // mode, the contents rows' value at position 39) go to `temp_folder`, or
  // are not written when it is null. `item_content` receives the records of
  // ItemContent; null: they are accepted and dropped. All must outlive the
  // handlers.
  StoreRecordHandlers(StoreSession& session, CorruptionReporter& corruption, PrivateTempFolder* temp_folder,
                      ItemContentSink* item_content = nullptr);

  void set_item_content_sink(ItemContentSink* sink) { item_content_ = sink; }

  RecordOutcome Mailbox(const RecordRef& record, const ColumnPositions& columns, StoreEvents& events) override;
  RecordOutcome Folder(const RecordRef& record, const ColumnPositions& columns, StoreEvents& events) override;
  RecordOutcome MessageIndex(const RecordRef& record, const ColumnPositions& columns, int32_t index,
                             StoreEvents& events) override;
  RecordOutcome Attachment(const RecordRef& record, const ColumnPositions& columns, int32_t index,
                           StoreEvents& events) override;
  RecordOutcome ContentsRow(const RecordRef& record, const ColumnPositions& columns, int32_t index,
                            StoreEvents& events) override;
  // Hands the record to the item-content sink; kHandled when there is none.
  RecordOutcome ItemContent(const RecordRef& record, StoreEvents& events) override;

 private:
  StoreSession& session_;
  CorruptionReporter& corruption_;
  PrivateTempFolder* temp_folder_;
  ItemContentSink* item_content_;
  MailboxKeyIndex mailbox_keys_;
};

}  // namespace edb
