// One record of the Msg table as the scan indexes it: the item's key and the
// record's position, so an item's full content can be fetched later.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace edb {

struct MsgIndexEntry {
  // "N67b0" as big-endian identifier text ("1000000000091c1"); may be none.
  std::optional<std::u16string> key;
  // 0-based position of the record in the Msg table.
  int32_t record = 0;
  // "N67b3" rendered as value text (the attachment identifiers); may be none.
  std::optional<std::u16string> text;
};

}  // namespace edb
