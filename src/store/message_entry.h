// One listed mail header of the open folder.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace edb {

struct MessageEntry {
  // The running row number, as shown in the "S.No" column.
  int32_t number = 0;
  // The header's "N67b0" text, same form as MsgIndexEntry::key; may be none.
  std::optional<std::u16string> key;
  // From text; "Unknown" when none was given.
  std::u16string sender;
  // Subject prefix followed by normalized subject; "Unknown" when none.
  std::u16string subject;
  // "T39" as filetime text; "Unknown" when the row had none.
  std::u16string date;
  // "Be1b" as text (has-attachments flag); may be none.
  std::optional<std::u16string> attachments;
};

}  // namespace edb
