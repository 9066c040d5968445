// The tables of the databases Windows' own engine wrote, rebuilt with our
// writer from what libesedb reads out of them, must read back the same,
// value by value with flags: where the two disagree, the Windows files are
// right. Values the writer cannot make (the engine's XPRESS compression,
// separated members of multi-values) are left out of the rebuilt table.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>

#include "esedb_reading_support.h"
#include "test_support.h"
#include "writer_support.h"

namespace {

using esewriter::ColumnSpec;
using esewriter::ColumnType;
using esewriter::Placement;
using esewriter::Value;

uint32_t Le32(const std::vector<uint8_t>& data) {
  uint32_t value = 0;
  if (data.size() >= 4) std::memcpy(&value, data.data(), 4);
  return value;
}

// The spec of `table` from its catalog records (size, flags, code page).
esewriter::TableSpec SpecFromCatalog(esetest::EsedbDatabase* db, const std::string& table) {
  const uint32_t objid = db->TableObjid(table);
  esewriter::TableSpec spec{table, {}};
  for (const esetest::ColumnInfo& column : db->Columns(table)) {
    for (int i = 0; i < db->RecordCount("MSysObjects"); ++i) {
      const std::vector<esetest::ValueInfo> entry = db->RecordShallow("MSysObjects", i);
      if (Le32(entry[0].data) != objid || entry[1].data[0] != 2 || Le32(entry[2].data) != column.id) continue;
      ColumnSpec out;
      out.name = column.name;
      out.type = static_cast<ColumnType>(column.type);
      out.max_size = Le32(entry[4].data);
      out.multi_valued = (Le32(entry[5].data) & 0x08) != 0;
      out.codepage = column.type == 10 || column.type == 12 ? Le32(entry[6].data) : 0;
      out.placement = column.id < 128 ? Placement::kFixed : column.id < 256 ? Placement::kVariable : Placement::kTagged;
      spec.columns.push_back(out);
    }
  }
  return spec;
}

// Our value for what libesedb read; nullopt when the writer cannot make it.
std::optional<Value> Rebuild(const esetest::ValueInfo& read) {
  if ((read.flags & 0x04) != 0) {
    if (!read.long_value.empty() && read.long_value[0] == 0x18) return std::nullopt;  // XPRESS inside
    return Value::Bytes(read.long_value);
  }
  if ((read.flags & 0x08) != 0) {
    if ((read.flags & 0x10) != 0) {
      const size_t first = read.data[0];
      return Value::Multi(
          {std::vector<uint8_t>(read.data.begin() + 1, read.data.begin() + 1 + static_cast<std::ptrdiff_t>(first)),
           std::vector<uint8_t>(read.data.begin() + 1 + static_cast<std::ptrdiff_t>(first), read.data.end())});
    }
    if ((read.flags & 0x02) != 0 || (read.data[1] & 0x80) != 0) return std::nullopt;
    return Value::Multi(read.members);
  }
  if ((read.flags & 0x02) != 0) {
    if (read.data.empty() || read.data[0] >> 3 != 1) return std::nullopt;
    return Value::Compressed7Bit(esetest::Unpack7BitAscii(read.data));
  }
  if (read.data.empty()) return Value::Null();
  return Value::Bytes(read.data);
}

class WindowsParity : public ::testing::TestWithParam<const char*> {};

TEST_P(WindowsParity, RebuiltTableReadsBackAsTheWindowsOne) {
  const std::string table = GetParam();
  esetest::EsedbDatabase windows(edbtest::RealDatabase(table + ".edb"));
  const esewriter::TableSpec spec = SpecFromCatalog(&windows, table);
  ASSERT_EQ(spec.columns.size(), windows.Columns(table).size());

  std::vector<std::vector<esetest::ValueInfo>> expected;
  std::vector<std::vector<bool>> comparable;
  esetest::TableContent rebuilt{spec, {}};
  for (int r = 0; r < windows.RecordCount(table); ++r) {
    expected.push_back(windows.Record(table, r));
    esewriter::Record record;
    comparable.emplace_back();
    for (const esetest::ValueInfo& value : expected.back()) {
      const std::optional<Value> ours = Rebuild(value);
      comparable.back().push_back(ours.has_value());
      record.push_back(ours.value_or(Value::Null()));
    }
    rebuilt.records.push_back(record);
  }
  edbtest::ScratchDir dir;
  esetest::WriteDatabase(dir / "rebuilt.edb", 4096, {rebuilt});
  esetest::EsedbDatabase ours(dir / "rebuilt.edb");

  const std::vector<esetest::ColumnInfo> their_columns = windows.Columns(table);
  const std::vector<esetest::ColumnInfo> our_columns = ours.Columns(table);
  for (size_t c = 0; c < their_columns.size(); ++c) {
    EXPECT_EQ(our_columns[c].name, their_columns[c].name);
    EXPECT_EQ(our_columns[c].id, their_columns[c].id);
    EXPECT_EQ(our_columns[c].type, their_columns[c].type);
  }
  ASSERT_EQ(ours.RecordCount(table), static_cast<int>(expected.size()));
  int compared = 0;
  for (size_t r = 0; r < expected.size(); ++r) {
    const std::vector<esetest::ValueInfo> values = ours.Record(table, static_cast<int>(r));
    for (size_t c = 0; c < values.size(); ++c) {
      if (!comparable[r][c]) continue;
      SCOPED_TRACE("record " + std::to_string(r) + ", " + their_columns[c].name);
      const esetest::ValueInfo& theirs = expected[r][c];
      EXPECT_EQ(values[c].flags, theirs.flags);
      if ((theirs.flags & 0x04) != 0) {
        EXPECT_EQ(values[c].long_value, theirs.long_value);
        EXPECT_EQ(values[c].segments, theirs.segments);
      } else {
        EXPECT_EQ(values[c].data, theirs.data);
        EXPECT_EQ(values[c].members, theirs.members);
      }
      ++compared;
    }
  }
  EXPECT_GE(compared, static_cast<int>(spec.columns.size()) - 5);
}

INSTANTIATE_TEST_SUITE_P(Tables, WindowsParity, ::testing::Values("basic", "binary", "text", "multi", "default"));

}  // namespace
