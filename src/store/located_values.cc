// Values at located positions.
#include "store/located_values.h"

#include "store/binary_readings.h"
#include "store/value_text.h"

namespace edb {

std::optional<std::u16string> IdentifierAt(const RecordRef& record, std::optional<int32_t> column, ByteOrder order,
                                           const std::optional<std::u16string>& fallback) {
  if (!column) return fallback;
  return IdentifierText(record, *column, order, fallback);
}

std::optional<std::u16string> ValueTextAt(const RecordRef& record, std::optional<int32_t> column,
                                          const std::optional<std::u16string>& fallback) {
  if (!column) return fallback;
  return ValueText(record, *column, fallback);
}

}  // namespace edb
