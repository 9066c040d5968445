// edbrecover tables: every table of every real database, in libesedb's order,
// as text and as JSON; clear failures for files that are not databases.
#include <gtest/gtest.h>
#include <libesedb.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "test_support.h"

namespace {

// "index<TAB>name" lines as libesedb's own API enumerates the tables.
std::string ExpectedListing(const std::string& path) {
  std::string listing;
  libesedb_file_t* file = nullptr;
  libesedb_file_initialize(&file, nullptr);
  EXPECT_EQ(libesedb_file_open(file, path.c_str(), LIBESEDB_OPEN_READ, nullptr), 1);
  int count = 0;
  libesedb_file_get_number_of_tables(file, &count, nullptr);
  for (int i = 0; i < count; ++i) {
    libesedb_table_t* table = nullptr;
    libesedb_file_get_table(file, i, &table, nullptr);
    size_t size = 0;
    libesedb_table_get_utf8_name_size(table, &size, nullptr);
    std::string name(size, '\0');
    libesedb_table_get_utf8_name(table, reinterpret_cast<uint8_t*>(name.data()), size, nullptr);
    name.resize(size - 1);
    listing += std::to_string(i) + "\t" + name + "\n";
    libesedb_table_free(&table, nullptr);
  }
  libesedb_file_close(file, nullptr);
  libesedb_file_free(&file, nullptr);
  return listing;
}

std::string Tables(const std::string& arguments, int* exit_code, bool stderr_only = false) {
  std::string out;
  std::string redirect = stderr_only ? " 2>&1 >/dev/null" : " 2>/dev/null";
  *exit_code = edbtest::RunCommand(edbtest::Program("edbrecover").string() + " tables " + arguments + redirect, &out);
  return out;
}

const char* const kRealDatabases[] = {"basic.edb", "binary.edb", "text.edb",  "multi.edb",
                                      "default.edb", "index.edb", "SRUDB.dat", "Current.mdb"};

TEST(TablesCommandTest, ListsEveryTableOfEveryRealDatabase) {
  for (const char* name : kRealDatabases) {
    SCOPED_TRACE(name);
    std::string path = edbtest::RealDatabase(name).string();
    int code = -1;
    std::string out = Tables("'" + path + "'", &code);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(out, ExpectedListing(path));
    EXPECT_TRUE(out.starts_with("0\tMSysObjects\n1\tMSysObjectsShadow\n"));
  }
}

TEST(TablesCommandTest, JsonCarriesTheSameIndexesAndNames) {
  std::string path = edbtest::RealDatabase("SRUDB.dat").string();
  int code = -1;
  nlohmann::json tables = nlohmann::json::parse(Tables("--json '" + path + "'", &code));
  EXPECT_EQ(code, 0);
  std::string listing;
  for (const auto& table : tables) {
    listing += std::to_string(table.at("index").get<int>()) + "\t" + table.at("name").get<std::string>() + "\n";
  }
  EXPECT_EQ(listing, ExpectedListing(path));
}

TEST(TablesCommandTest, FilesThatAreNotDatabasesFailWithAMessage) {
  edbtest::ScratchDir scratch;
  std::string junk = (scratch / "junk.edb").string();
  std::ofstream(junk) << std::string(40000, '\x5a');
  struct Case {
    std::string path;
    std::string says;
  };
  for (const Case& c : {Case{junk, "not a readable ESE database"}, Case{(scratch / "none.edb").string(), "no such file"},
                        Case{scratch.path().string(), "is a directory"}}) {
    SCOPED_TRACE(c.path);
    int code = -1;
    EXPECT_EQ(Tables("'" + c.path + "'", &code), "");  // nothing on standard output
    EXPECT_EQ(code, 1);
    std::string message = Tables("'" + c.path + "'", &code, /*stderr_only=*/true);
    EXPECT_EQ(code, 1);
    EXPECT_NE(message.find(c.says), std::string::npos) << message;
    EXPECT_NE(message.find(c.path), std::string::npos) << message;
  }
}

}  // namespace
