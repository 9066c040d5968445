// The table directory: built from the catalog of real databases, in libesedb's
// order, and searched by exact name.
#include <gtest/gtest.h>
#include <libesedb.h>

#include <string>
#include <utility>
#include <vector>

#include "scan_recorders.h"
#include "store/store_session.h"
#include "store/table_directory.h"
#include "store/text_encoding.h"
#include "test_support.h"

namespace {

using Listing = std::vector<std::pair<int, std::string>>;

// The tables as libesedb's own API enumerates them, read without any of the
// store reader's code.
Listing EnumerateWithLibesedb(const std::string& path) {
  Listing listing;
  libesedb_file_t* file = nullptr;
  EXPECT_EQ(libesedb_file_initialize(&file, nullptr), 1);
  EXPECT_EQ(libesedb_file_open(file, path.c_str(), LIBESEDB_OPEN_READ, nullptr), 1);
  int count = 0;
  libesedb_file_get_number_of_tables(file, &count, nullptr);
  for (int i = 0; i < count; ++i) {
    libesedb_table_t* table = nullptr;
    EXPECT_EQ(libesedb_file_get_table(file, i, &table, nullptr), 1);
    size_t size = 0;
    libesedb_table_get_utf8_name_size(table, &size, nullptr);
    std::string name(size, '\0');
    libesedb_table_get_utf8_name(table, reinterpret_cast<uint8_t*>(name.data()), size, nullptr);
    name.resize(size > 0 ? size - 1 : 0);
    listing.emplace_back(i, name);
    libesedb_table_free(&table, nullptr);
  }
  libesedb_file_close(file, nullptr);
  libesedb_file_free(&file, nullptr);
  return listing;
}

Listing DirectoryListing(const edb::TableDirectory& tables) {
  Listing listing;
  for (const auto& entry : tables.entries()) listing.emplace_back(entry.index, edb::Utf16ToUtf8(entry.name));
  return listing;
}

const char* const kRealDatabases[] = {"basic.edb", "binary.edb", "text.edb",  "multi.edb",
                                      "default.edb", "index.edb", "SRUDB.dat", "Current.mdb"};

TEST(TableDirectoryTest, ListsEveryTableOfRealDatabasesInCatalogOrder) {
  for (const char* name : kRealDatabases) {
    SCOPED_TRACE(name);
    std::string path = edbtest::RealDatabase(name).string();
    edbtest::RecordingCorruption corruption;
    edb::StoreSession session;
    session.database_path = path;
    edb::EsedbError error;
    ASSERT_TRUE(session.OpenDatabase(corruption, &error)) << error.Message();
    EXPECT_EQ(edb::BuildTableDirectory(session, corruption), 1);
    EXPECT_TRUE(corruption.reports.empty());
    Listing expected = EnumerateWithLibesedb(path);
    EXPECT_EQ(DirectoryListing(session.tables), expected);
    EXPECT_GE(expected.size(), 5u);  // the engine's MSys tables and the data table(s)
    EXPECT_EQ(expected.front().second, "MSysObjects");
  }
}

TEST(TableDirectoryTest, FindMatchesWholeNameCaseSensitivelyFirstEntryWins) {
  edb::TableDirectory tables;
  tables.Append(0, u"MSysObjects");
  tables.Append(1, u"Msg");
  tables.Append(2, u"1-23");
  tables.Append(3, u"Msg");
  ASSERT_NE(tables.Find(u"Msg"), nullptr);
  EXPECT_EQ(tables.Find(u"Msg")->index, 1);
  EXPECT_EQ(tables.Find(u"1-23")->index, 2);
  EXPECT_EQ(tables.Find(u"msg"), nullptr);
  EXPECT_EQ(tables.Find(u"Ms"), nullptr);
  EXPECT_EQ(tables.Find(u"Msgx"), nullptr);
  EXPECT_EQ(tables.Find(u"1-2"), nullptr);
  EXPECT_EQ(tables.Find(u""), nullptr);
  tables.Clear();
  EXPECT_EQ(tables.Find(u"Msg"), nullptr);
}

}  // namespace
