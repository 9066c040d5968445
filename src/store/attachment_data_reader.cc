// Attachment data read from "1-23" by record.
#include "store/attachment_data_reader.h"

#include "store/column_positions.h"
#include "store/record_value.h"

namespace edb {

namespace {
constexpr char16_t kAttachmentTable[] = u"1-23";
}  // namespace

AttachmentDataReader::AttachmentDataReader(const StoreSession& session) : session_(session) {}

Status AttachmentDataReader::Open() {
  Status error;
  switch (session_.OpenTable(kAttachmentTable, &table_, &error)) {
    case TableLookup::kAbsent:
      return Status::NotFound("the store has no attachment table 1-23");
    case TableLookup::kFailed:
      return Status::Corruption("table 1-23: " + error.reason());
    case TableLookup::kOpened:
      break;
  }
  ColumnPositions positions = InitialColumnPositions(ColumnSet::kAttachments);
  LocateColumns(table_.handle->columns(), ColumnSet::kAttachments, &positions);
  data_column_ = positions.attachment_data;
  if (!data_column_) return Status::NotFound("table 1-23 has no attachment data column N3701");
  return Status::Ok();
}

Result<std::string> AttachmentDataReader::Read(int32_t record) {
  if (!opened_) {
    open_status_ = Open();
    opened_ = true;
  }
  if (!open_status_.ok()) return open_status_;
  const std::string where = "table 1-23, record " + std::to_string(record) + ": ";
  Result<std::unique_ptr<ese::Record>> handle = table_.handle->ReadRecord(record);
  if (!handle.ok()) return Status::Corruption(where + "the record cannot be read: " + handle.status().reason());
  const RecordRef ref{handle->get(), &table_.handle->columns()};
  RecordValue value;
  if (!ReadRecordValue(ref, *data_column_, &value)) {
    return Status::Corruption(where + "the attachment data cannot be read");
  }
  std::optional<std::vector<uint8_t>> bytes = ContentBytes(ref, *data_column_, std::move(value));
  if (!bytes) return Status::Corruption(where + "the long value of the attachment data cannot be read");
  return std::string(bytes->begin(), bytes->end());
}

}  // namespace edb
