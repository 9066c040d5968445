// One header of the open contact folder.
#pragma once

#include <optional>
#include <string>

namespace edb {

struct ContactEntry {
  // The header's "N67b0" text; may be none.
  std::optional<std::u16string> key;
  // The header's message class ("S1a"); may be none.
  std::optional<std::u16string> item_class;
};

}  // namespace edb
