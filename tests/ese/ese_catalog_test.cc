// The catalog as the own readers read it: the same tables and columns
// libesedb lists, each column's code page, and no reading past a record.
#include <gtest/gtest.h>

#include <tuple>

#include "ese/ese_catalog.h"
#include "ese/esedb_handles.h"
#include "ese/fast_long_value_source.h"
#include "test_support.h"

namespace {

using ColumnFacts = std::vector<std::tuple<std::u16string, uint32_t, uint32_t>>;  // name, id, type

// The columns of `table` as libesedb lists them.
ColumnFacts LibesedbColumns(libesedb_table_t* table) {
  ColumnFacts facts;
  int columns = 0;
  libesedb_table_get_number_of_columns(table, &columns, 0, nullptr);
  for (int c = 0; c < columns; ++c) {
    edb::EsedbError e;
    edb::EsedbColumn column;
    std::u16string name;
    uint32_t id = 0, type = 0;
    if (!edb::ColumnByIndex(table, c, &column, &e) || !edb::ColumnName(column.get(), &name, &e)) continue;
    libesedb_column_get_identifier(column.get(), &id, nullptr);
    libesedb_column_get_type(column.get(), &type, nullptr);
    facts.emplace_back(name, id, type);
  }
  return facts;
}

// Multi-page catalogs (Current.mdb has a table of 374 columns) included.
TEST(EseCatalog, ListsTheTablesAndColumnsLibesedbLists) {
  for (const char* name : {"text.edb", "binary.edb", "multi.edb", "index.edb", "basic.edb", "default.edb",
                           "SRUDB.dat", "Current.mdb"}) {
    std::string path = edbtest::RealDatabase(name).string();
    std::string error;
    auto file = edb::EseFile::Open(path, &error);
    edb::EseCatalog catalog;
    ASSERT_TRUE(file && catalog.Read(*file, &error)) << name << ": " << error;
    EXPECT_TRUE(catalog.damage().empty()) << name;
    edb::EsedbError e;
    edb::EsedbFile esedb = edb::OpenEsedbFile(path, &e);
    int tables = 0;
    libesedb_file_get_number_of_tables(esedb.get(), &tables, nullptr);
    for (int t = 0; t < tables; ++t) {
      edb::EsedbTable table;
      std::u16string table_name;
      ASSERT_TRUE(edb::TableByIndex(esedb.get(), t, &table, &e) && edb::TableName(table.get(), &table_name, &e));
      const edb::CatalogTable* ours = catalog.FindTable(table_name);
      ASSERT_NE(ours, nullptr) << name << " table " << t;
      ColumnFacts facts;
      for (const auto& column : ours->columns) {
        facts.emplace_back(column.name, column.id, column.type);
        EXPECT_EQ(catalog.FindColumn(*ours, column.name), &column);
      }
      EXPECT_EQ(facts, LibesedbColumns(table.get())) << name << " table " << t;
    }
  }
}

TEST(FastLongValueProvider, ColumnCodePagesComeFromTheCatalog) {
  edb::FastLongValueProvider provider(edbtest::RealDatabase("text.edb").string(), nullptr, {});
  ASSERT_TRUE(provider.reads_itself());
  EXPECT_EQ(provider.ColumnCodePage(u"text", u"LongUnicode"), 1200);
  EXPECT_EQ(provider.ColumnCodePage(u"text", u"LongASCII"), 1252);
  EXPECT_EQ(provider.ColumnCodePage(u"text", u"MaxLongCompressedUnicode"), 1200);
  EXPECT_EQ(provider.ColumnCodePage(u"text", u"NoSuchColumn"), 0);
  EXPECT_EQ(provider.ColumnCodePage(u"NoSuchTable", u"LongASCII"), 0);
  edb::EsedbLongValueProvider esedb;
  EXPECT_EQ(esedb.ColumnCodePage(u"text", u"LongUnicode"), 0);
}

// A catalog record: 7 fixed columns, then Name and TemplateTable (the
// Stats column between them is NULL).
std::vector<uint8_t> CatalogRecord() {
  std::vector<uint8_t> r = {7, 130, 0, 0};
  auto le32 = [&r](uint32_t v) { for (int i = 0; i < 4; ++i) r.push_back(static_cast<uint8_t>(v >> (8 * i))); };
  le32(8);                   // table object id
  r.insert(r.end(), {2, 0}); // column row
  le32(260);                 // column id
  le32(12);                  // long text
  le32(0);
  le32(1);
  le32(1200);  // code page
  r.push_back(0);  // fixed NULL bitmap
  r[2] = static_cast<uint8_t>(r.size());
  r.insert(r.end(), {4, 0, 4, 0x80, 9, 0});  // Name ends at 4, Stats NULL, TemplateTable ends at 9
  for (char c : std::string("NameTmplt")) r.push_back(static_cast<uint8_t>(c));
  return r;
}

// A record that reads whole, then every shorter copy of it (each exactly
// its size, so that a read past it trips the address sanitizer) and one
// whose variable columns end out of order: all of those fail.
TEST(ParseCatalogRow, ReadsWholeRecordsAndRejectsTruncatedOrInconsistentOnes) {
  std::vector<uint8_t> record = CatalogRecord();
  edb::CatalogRow row;
  std::string error;
  ASSERT_TRUE(edb::ParseCatalogRow(record, &row, &error)) << error;
  EXPECT_EQ(row.table_object_id, 8u);
  EXPECT_EQ(row.type, 2);
  EXPECT_EQ(row.id, 260u);
  EXPECT_EQ(row.type_or_root_page, 12u);
  EXPECT_EQ(row.code_page, 1200u);
  EXPECT_EQ(row.name, "Name");
  EXPECT_EQ(row.template_name, "Tmplt");
  for (size_t size = 0; size < record.size(); ++size) {
    std::vector<uint8_t> cut(record.begin(), record.begin() + static_cast<long>(size));
    EXPECT_FALSE(edb::ParseCatalogRow(cut, &row, &error)) << size;
  }
  record[record[2] + 4] = 2;  // TemplateTable ends before Name does
  EXPECT_FALSE(edb::ParseCatalogRow(record, &row, &error));
}

}  // namespace
