// One record of the attachment table "1-23": its search key, display name and
// position.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace edb {

struct AttachmentEntry {
  // "0" followed by the big-endian identifier text of "Q3f88"; "0" alone
  // when the record has none.
  std::u16string key;
  // "S3001", or the identifier text when there is no display name; may be none.
  std::optional<std::u16string> name;
  // 0-based position of the record in "1-23".
  int32_t record = 0;
};

}  // namespace edb
