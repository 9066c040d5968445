// The catalog as the own readers read it: the same tables and columns
// libesedb lists, each column's code page, and no reading past a record.
#include <gtest/gtest.h>

#include "store/ese_catalog.h"
#include "store/esedb_handles.h"
#include "store/fast_long_value_source.h"
#include "test_support.h"

namespace {

const char* const kWindowsDatabases[] = {"text.edb",    "binary.edb", "multi.edb", "index.edb",
                                         "basic.edb",   "default.edb", "SRUDB.dat", "Current.mdb"};

TEST(EseCatalog, ListsTheTablesAndColumnsLibesedbLists) {
  for (const char* name : kWindowsDatabases) {
    std::string path = edbtest::RealDatabase(name).string();
    std::string error;
    auto file = edb::EseFile::Open(path, &error);
    ASSERT_TRUE(file) << name << ": " << error;
    edb::EseCatalog catalog;
    ASSERT_TRUE(catalog.Read(*file, &error)) << name << ": " << error;
    EXPECT_TRUE(catalog.damage().empty()) << name;

    edb::EsedbError e;
    edb::EsedbFile esedb = edb::OpenEsedbFile(path, &e);
    ASSERT_TRUE(esedb) << name;
    int tables = 0;
    libesedb_file_get_number_of_tables(esedb.get(), &tables, nullptr);
    for (int t = 0; t < tables; ++t) {
      edb::EsedbTable table;
      std::u16string table_name;
      ASSERT_TRUE(edb::TableByIndex(esedb.get(), t, &table, &e) && edb::TableName(table.get(), &table_name, &e));
      const edb::CatalogTable* ours = catalog.FindTable(table_name);
      ASSERT_NE(ours, nullptr) << name << " table " << t;
      int columns = 0;
      libesedb_table_get_number_of_columns(table.get(), &columns, 0, nullptr);
      ASSERT_EQ(static_cast<int>(ours->columns.size()), columns) << name << " table " << t;
      for (int c = 0; c < columns; ++c) {
        edb::EsedbColumn column;
        std::u16string column_name;
        uint32_t id = 0, type = 0;
        ASSERT_TRUE(edb::ColumnByIndex(table.get(), c, &column, &e) && edb::ColumnName(column.get(), &column_name, &e));
        libesedb_column_get_identifier(column.get(), &id, nullptr);
        libesedb_column_get_type(column.get(), &type, nullptr);
        EXPECT_EQ(ours->columns[c].name, column_name) << name << " table " << t << " column " << c;
        EXPECT_EQ(ours->columns[c].id, id) << name << " table " << t << " column " << c;
        EXPECT_EQ(ours->columns[c].type, type) << name << " table " << t << " column " << c;
        EXPECT_EQ(catalog.FindColumn(*ours, column_name), &ours->columns[c]);
      }
    }
  }
}

TEST(EseCatalog, GivesEachTableItsLongValueTree) {
  std::string error;
  auto file = edb::EseFile::Open(edbtest::RealDatabase("text.edb").string(), &error);
  ASSERT_TRUE(file) << error;
  edb::EseCatalog catalog;
  ASSERT_TRUE(catalog.Read(*file, &error)) << error;
  const edb::CatalogTable* text = catalog.FindTable(u"text");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->long_value_root_page, 32u);
  EXPECT_EQ(text->long_value_object_id, 9u);
  const edb::CatalogTable* objects = catalog.FindTable(u"MSysObjects");
  ASSERT_NE(objects, nullptr);
  EXPECT_EQ(objects->long_value_root_page, 0u);
  EXPECT_EQ(catalog.FindTable(u"Text"), nullptr);
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

TEST(ParseCatalogRow, ReadsFixedAndVariableColumns) {
  edb::CatalogRow row;
  std::string error;
  ASSERT_TRUE(edb::ParseCatalogRow(CatalogRecord(), &row, &error)) << error;
  EXPECT_EQ(row.table_object_id, 8u);
  EXPECT_EQ(row.type, 2);
  EXPECT_EQ(row.id, 260u);
  EXPECT_EQ(row.type_or_root_page, 12u);
  EXPECT_EQ(row.code_page, 1200u);
  EXPECT_EQ(row.name, "Name");
  EXPECT_EQ(row.template_name, "Tmplt");
}

TEST(ParseCatalogRow, TruncatedOrInconsistentRecordsFailWithoutReadingPastThem) {
  std::vector<uint8_t> record = CatalogRecord();
  for (size_t size = 0; size < record.size(); ++size) {
    // A copy of exactly `size` bytes, so a read past it is caught by the
    // address sanitizer.
    std::vector<uint8_t> cut(record.begin(), record.begin() + static_cast<long>(size));
    edb::CatalogRow row;
    std::string error;
    EXPECT_FALSE(edb::ParseCatalogRow(cut, &row, &error)) << size;
  }
  std::vector<uint8_t> backwards = record;
  backwards[backwards[2] + 4] = 2;  // TemplateTable ends before Name does
  edb::CatalogRow row;
  std::string error;
  EXPECT_FALSE(edb::ParseCatalogRow(backwards, &row, &error));
}

}  // namespace
