// Reading the values a record handler needs at the positions the table
// walk located. A column the table does not have (no position) reads as an
// absent value: the renderer's default comes back.
#pragma once

#include <optional>
#include <string>

#include "base/byte_order.h"
#include "store/record_value.h"

namespace edb {

// IdentifierText of the value at `column`, or `fallback` when there is no
// such column.
std::optional<std::u16string> IdentifierAt(const RecordRef& record, std::optional<int32_t> column, ByteOrder order,
                                           const std::optional<std::u16string>& fallback);

// ValueText of the value at `column`, or `fallback` when there is no such
// column.
std::optional<std::u16string> ValueTextAt(const RecordRef& record, std::optional<int32_t> column,
                                          const std::optional<std::u16string>& fallback);

}  // namespace edb
