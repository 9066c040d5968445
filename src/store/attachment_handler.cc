// Attachment records to attachment entries, or to files in save mode.
#include "store/attachment_handler.h"

#include "store/located_values.h"
#include "store/long_value_file.h"

namespace edb {
namespace {

void SaveAttachmentData(CorruptionReporter& corruption, PrivateTempFolder* temp_folder, const RecordRef& record,
                        const ColumnPositions& columns, int32_t index, const std::optional<std::u16string>& name,
                        StoreEvents& events) {
  if (temp_folder == nullptr || !columns.attachment_data) return;
  const Status written = WriteLongValueFile(record, *columns.attachment_data, name.value_or(u""), *temp_folder, events);
  if (!written.ok()) {
    corruption.Corruption("attachment data of table 1-23, record " + std::to_string(index), written.reason());
  }
}

}  // namespace

RecordOutcome HandleAttachmentRecord(StoreSession& session, CorruptionReporter& corruption,
                                     PrivateTempFolder* temp_folder, const RecordRef& record,
                                     const ColumnPositions& columns, int32_t index, StoreEvents& events) {
  if (NumberOfValues(record) == 0) return RecordOutcome::kUnreadable;
  std::optional<std::u16string> identifier =
      IdentifierAt(record, columns.attachment_key, ByteOrder::kBigEndian, std::nullopt);
  std::optional<std::u16string> name = ValueTextAt(record, columns.display_name, identifier);
  if (session.open_folder.save_mode) {
    SaveAttachmentData(corruption, temp_folder, record, columns, index, name, events);
    return RecordOutcome::kHandled;
  }
  session.attachments.push_back(AttachmentEntry{u"0" + identifier.value_or(u""), std::move(name), index});
  return RecordOutcome::kHandled;
}

}  // namespace edb
