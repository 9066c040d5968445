// The catalog and the writer's life cycle: tables listed in the order they
// were added after the two catalogs, a catalog spanning many pages, the
// catalog's own columns per engine generation, long-value trees recorded
// only for tables that separated a value, interleaved appends, and misuse.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "esedb_reading_support.h"
#include "test_support.h"
#include "writer_support.h"

namespace {

using esewriter::ColumnType;
using esewriter::Placement;
using esewriter::Value;

TEST(Catalog, ListsTablesInTheOrderAddedAcrossManyCatalogPages) {
  std::vector<esetest::TableContent> tables;
  for (int t = 0; t < 250; ++t) {
    esetest::TableContent table{{"1-" + std::to_string(1000 + t), {}}, {}};
    for (int c = 0; c < 30; ++c) {
      table.spec.columns.push_back({"S" + std::to_string(0x3000 + c), ColumnType::kText, c % 2 ? 1200u : 1252u});
    }
    table.spec.columns.push_back({"N67b0", ColumnType::kBinary, 0, false, Placement::kTagged});
    esewriter::Record record(table.spec.columns.size());
    record.back() = Value::Bytes(esetest::Le32(static_cast<uint32_t>(t)));
    table.records.push_back(record);
    tables.push_back(table);
  }
  edbtest::ScratchDir dir;
  esetest::WriteDatabase(dir / "many.edb", 4096, tables);
  esetest::EsedbDatabase db(dir / "many.edb");

  const std::vector<std::string> names = db.TableNames();
  ASSERT_EQ(names.size(), tables.size() + 2);
  EXPECT_EQ(names[0], "MSysObjects");
  EXPECT_EQ(names[1], "MSysObjectsShadow");
  for (size_t t = 0; t < tables.size(); t += 37) {
    EXPECT_EQ(names[t + 2], tables[t].spec.name);
    const std::vector<esetest::ColumnInfo> columns = db.Columns(names[t + 2]);
    ASSERT_EQ(columns.size(), 31u);
    EXPECT_EQ(columns[0].name, "S12288");
    EXPECT_EQ(columns[30].name, "N67b0");
    EXPECT_EQ(columns[30].id, 256u);
    EXPECT_EQ(db.Record(names[t + 2], 0)[30].data, esetest::Le32(static_cast<uint32_t>(t)));
  }
}

TEST(Catalog, DescribesItselfAsTheEngineGenerationOfThePageSize) {
  edbtest::ScratchDir dir;
  for (uint32_t page_size : {4096u, 8192u}) {
    esetest::WriteDatabase(dir / "c.edb", page_size, {});
    esetest::EsedbDatabase db(dir / "c.edb");
    std::vector<std::string> names;
    for (const esetest::ColumnInfo& column : db.Columns("MSysObjects")) names.push_back(column.name);
    // KeyMost and Version came with the Exchange 2007 engine.
    EXPECT_EQ(names.size(), page_size == 4096 ? 20u : 22u);
    EXPECT_EQ(std::count(names.begin(), names.end(), "KeyMost"), page_size == 4096 ? 0 : 1);
    EXPECT_EQ(std::count(names.begin(), names.end(), "Version"), page_size == 4096 ? 0 : 1);
    EXPECT_EQ(names.back(), "CallbackDependencies");
    EXPECT_EQ(db.Columns("MSysObjectsShadow").size(), names.size());
    EXPECT_EQ(db.RecordCount("MSysObjects"), db.RecordCount("MSysObjectsShadow"));
  }
}

// The long-value trees the catalog records: (table objid, tree root page).
std::vector<std::pair<uint32_t, uint32_t>> LongValueEntries(esetest::EsedbDatabase* db) {
  std::vector<std::pair<uint32_t, uint32_t>> entries;
  for (int i = 0; i < db->RecordCount("MSysObjects"); ++i) {
    const std::vector<esetest::ValueInfo> entry = db->RecordShallow("MSysObjects", i);
    if (entry[1].data[0] != 4) continue;
    auto le32 = [](const std::vector<uint8_t>& d) { return d[0] | (d[1] << 8) | (d[2] << 16) | (d[3] << 24); };
    entries.emplace_back(le32(entry[0].data), le32(entry[3].data));
  }
  return entries;
}

TEST(Catalog, RecordsLongValueTreesOnlyForTablesThatSeparatedValues) {
  edbtest::ScratchDir dir;
  const esewriter::TableSpec spec{"", {{"Body", ColumnType::kLongBinary}}};
  esetest::TableContent small{spec, {{Value::Bytes(std::string(1023, 's'))}}};
  small.spec.name = "Small";
  esetest::TableContent big{spec, {{Value::Bytes(std::string(1024, 'b'))}}};
  big.spec.name = "Big";
  esetest::WriteDatabase(dir / "lv.edb", 8192, {small, big});
  esetest::EsedbDatabase db(dir / "lv.edb");
  const std::vector<std::pair<uint32_t, uint32_t>> entries = LongValueEntries(&db);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].first, db.TableObjid("Big"));
  EXPECT_EQ(db.Record("Big", 0)[0].long_value, esetest::Bytes(std::string(1024, 'b')));
}

TEST(Writer, TablesFilledInAnyInterleavingReadBackInAppendOrder) {
  edbtest::ScratchDir dir;
  esewriter::DatabaseWriter db({.page_size = 4096, .scratch_directory = dir.path().string()});
  esewriter::TableWriter& messages = db.AddTable({"Msg", {{"Id", ColumnType::kLong}, {"Body", ColumnType::kLongText}}});
  esewriter::TableWriter& folders = db.AddTable({"Folders", {{"Id", ColumnType::kLong}}});
  esewriter::TableWriter* late = nullptr;
  for (uint32_t i = 0; i < 3000; ++i) {
    messages.Append(
        {Value::U32(i), Value::Text1252(std::string(i % 5 == 0 ? 5000 : 30, static_cast<char>('a' + i % 26)))});
    if (i % 3 == 0) folders.Append({Value::U32(i)});
    if (i == 1500) late = &db.AddTable({"Late", {{"Body", ColumnType::kLongBinary}}});
    if (late != nullptr) late->Append({Value::Bytes(esetest::Pattern(1100, i))});
  }
  db.Finish((dir / "mixed.edb").string());

  esetest::EsedbDatabase reader(dir / "mixed.edb");
  EXPECT_EQ(reader.TableNames(),
            (std::vector<std::string>{"MSysObjects", "MSysObjectsShadow", "Msg", "Folders", "Late"}));
  ASSERT_EQ(reader.RecordCount("Msg"), 3000);
  ASSERT_EQ(reader.RecordCount("Folders"), 1000);
  ASSERT_EQ(reader.RecordCount("Late"), 1500);
  for (int i : {0, 5, 1499, 2995, 2999}) {
    const std::vector<esetest::ValueInfo> message = reader.Record("Msg", i);
    EXPECT_EQ(message[0].data, esetest::Le32(static_cast<uint32_t>(i)));
    const std::string body(i % 5 == 0 ? 5000 : 30, static_cast<char>('a' + i % 26));
    EXPECT_EQ(i % 5 == 0 ? message[1].long_value : message[1].data, esetest::Bytes(body));
  }
  EXPECT_EQ(reader.Record("Folders", 999)[0].data, esetest::Le32(2997));
  EXPECT_EQ(reader.Record("Late", 1499)[0].long_value, esetest::Pattern(1100, 2999));
}

TEST(Writer, RefusesMisuseAndLeavesNoScratchFileBehind) {
  EXPECT_THROW(esewriter::DatabaseWriter({.page_size = 16384}), std::invalid_argument);
  edbtest::ScratchDir dir;
  {
    esewriter::DatabaseWriter db({.page_size = 4096, .scratch_directory = dir.path().string()});
    esewriter::TableWriter& table = db.AddTable({"Msg", {{"Id", ColumnType::kLong}}});
    EXPECT_THROW(db.AddTable({"Msg", {}}), std::invalid_argument);
    EXPECT_THROW(db.AddTable({"MSysObjects", {}}), std::invalid_argument);
    EXPECT_THROW(db.AddTable({"Twice", {{"A", ColumnType::kLong}, {"A", ColumnType::kShort}}}), std::invalid_argument);
    EXPECT_THROW(db.AddTable({"Cp", {{"T", ColumnType::kText, 437}}}), std::invalid_argument);
    EXPECT_THROW(db.AddTable({"Var", {{"L", ColumnType::kLongText, 1252, false, Placement::kVariable}}}),
                 std::invalid_argument);
    db.Finish((dir / "done.edb").string());
    EXPECT_THROW(table.Append({Value::I32(1)}), std::logic_error);
    EXPECT_THROW(db.Finish((dir / "again.edb").string()), std::logic_error);
  }
  {
    esewriter::DatabaseWriter dropped({.page_size = 8192, .scratch_directory = dir.path().string()});
    dropped.AddTable({"Msg", {{"Id", ColumnType::kLong}}}).Append({Value::I32(1)});
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()), 1);
}

}  // namespace
