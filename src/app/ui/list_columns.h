// The columns of the message list, chosen by the display text of the
// clicked tree item. Column 0 has no title and carries each row's key.
#pragma once

#include <string>
#include <vector>

#include "app/ui/window_port.h"

namespace edb {

// Exact, case-sensitive choice by `item_text`: "Contacts", "Sent Items",
// "Calendar", "Tasks", or the ordinary mail layout for any other text.
std::vector<ListColumn> ListColumnsFor(const std::u16string& item_text);

}  // namespace edb
