// Reads the data of attachments from the attachment table "1-23" of the open
// database, by record position, when a save writes the message that carries
// them: the bytes come straight from the store, never through shared files.
// One reader serves one save (the table stays open while it lives); not
// thread-safe. Must be dropped before the session's database is closed.
#pragma once

#include <cstdint>
#include <string>

#include "base/status.h"
#include "base/corruption_reporter.h"
#include "store/store_session.h"

namespace edb {

class AttachmentDataReader {
 public:
  explicit AttachmentDataReader(const StoreSession& session);

  // The bytes of the attachment at `record` ("N3701"; empty when the record
  // has no data). A failure names the record and why (corruption for a
  // damaged record or long value, not found when there is no table or data
  // column).
  Result<std::string> Read(int32_t record);

 private:
  Status Open();

  const StoreSession& session_;
  bool opened_ = false;
  Status open_status_;
  OpenedTable table_;
  std::optional<int32_t> data_column_;
};

}  // namespace edb
