// How the contents-row handler reads each value of a header row: the column
// kind chosen by the column's type and name, and the byte order, which starts
// little-endian in every row and turns big-endian for good at the row's
// first binary key column.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/byte_order.h"
#include "ese/long_value_source.h"

namespace edb {

enum class ColumnKind {
  kValueText = 0,   // ValueText, no default
  kRawBinary = 1,   // the value's bytes read as UTF-16 text
  kNumber32 = 2,    // Number32Text
  kIdentifier = 3,  // IdentifierText, no default
  kFiletime = 4,    // FiletimeBytesText
  kGuid = 5,        // GuidText
  kAnsiValue = 7,   // AnsiValueText
  kBinaryAnsi = 9,  // BinaryAnsiText
};

struct ColumnReading {
  ColumnKind kind = ColumnKind::kValueText;
  // True when the row turns big-endian before this value is read.
  bool switches_to_big_endian = false;
};

// The reading of a value of type `column_type` in column `name`. Names of
// more than 6 characters are not looked at (kValueText).
//  - currency: "Q…" identifier, "T…" filetime;
//  - binary and long binary, tested in this order: "L…" number, "T…"
//    filetime, "Q…" identifier (switches), "N67b0…" identifier (switches),
//    exactly "N6762" / "N676a" GUID, "N677f" raw binary, "N6768" binary
//    ANSI, exactly "MN667f" ANSI value;
//  - everything else: kValueText.
ColumnReading ChooseColumnReading(uint32_t column_type, std::u16string_view name);

// Renders value `column` of `record` the way `kind` reads it, in `order`
// where the kind takes one. None when the value yields no text.
std::optional<std::u16string> RenderByKind(const RecordRef& record, int column, ColumnKind kind, ByteOrder order);

}  // namespace edb
