// edbrecover tables: every table of every real database, in libesedb's order,
// as text and as JSON; clear failures for files that are not databases.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "base/corruption_reporter.h"
#include "base/text_encoding.h"
#include "ese/database.h"
#include "test_support.h"

namespace {

// "index<TAB>name" lines as libesedb enumerates the tables (read through
// the database seam with libesedb's reader).
std::string ExpectedListing(const std::string& path) {
  std::string listing;
  edb::NullCorruptionReporter corruption;
  auto database = edb::ese::OpenDatabase(path, edb::ese::ReaderChoice::kLibesedb, corruption);
  EXPECT_TRUE(database.ok()) << database.status().reason();
  if (!database.ok()) return listing;
  for (int i = 0; i < (*database)->table_count(); ++i) {
    auto name = (*database)->TableName(i);
    listing += std::to_string(i) + "\t" + (name.ok() ? edb::Utf16ToUtf8(*name) : "") + "\n";
  }
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
