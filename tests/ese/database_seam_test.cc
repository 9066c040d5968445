// The database seam over libesedb on databases written by Windows' own
// engine: every fixed-size value read through libesedb's typed getters
// equals the seam's own decoding of the stored bytes (the decoding every
// other reader behind the seam inherits), text comes without terminator and
// NULL as NotFound, and columns carry the catalog's code pages.
#include <gtest/gtest.h>

#include <string>

#include "base/corruption_reporter.h"
#include "ese/database.h"
#include "test_support.h"

namespace edb::ese {
namespace {

std::unique_ptr<Database> Open(const std::string& name, CorruptionReporter& corruption) {
  auto database = OpenDatabase(edbtest::RealDatabase(name).string(), ReaderChoice::kLibesedb, corruption);
  EXPECT_TRUE(database.ok()) << name << ": " << database.status().reason();
  return database.ok() ? std::move(database).value() : nullptr;
}

// Opens the table of `database` named `name`.
std::unique_ptr<Table> TableNamed(Database& database, std::u16string_view name) {
  for (int i = 0; i < database.table_count(); ++i) {
    auto table_name = database.TableName(i);
    if (!table_name.ok() || *table_name != name) continue;
    auto table = database.OpenTable(i);
    if (table.ok()) return std::move(table).value();
  }
  ADD_FAILURE() << "no table";
  return nullptr;
}

TEST(LibesedbDatabase, FixedValuesDecodeAsLibesedbReadsThem) {
  NullCorruptionReporter corruption;
  int compared = 0;
  for (const char* name : {"basic.edb", "default.edb"}) {
    std::unique_ptr<Database> database = Open(name, corruption);
    ASSERT_NE(database, nullptr);
    const std::string file(name);
    std::unique_ptr<Table> table = TableNamed(*database, std::u16string(file.begin(), file.end() - 4));
    ASSERT_NE(table, nullptr);
    auto count = table->RecordCount();
    ASSERT_TRUE(count.ok());
    for (int64_t r = 0; r < *count; ++r) {
      auto record = table->ReadRecord(r);
      ASSERT_TRUE(record.ok()) << record.status().reason();
      for (int v = 0; v < (*record)->value_count(); ++v) {
        const ColumnInfo& column = table->columns()[v];
        const bool variable = column.type == column_type::kGuid || column.type == column_type::kBinary ||
                              column.type == column_type::kText ||
                              (column.type >= column_type::kLongBinary && column.type <= column_type::kSuperLong);
        if (variable) continue;
        auto by_libesedb = (*record)->ReadFixed(v);
        auto by_bytes = (*record)->Record::ReadFixed(v);
        ASSERT_EQ(by_libesedb.ok(), by_bytes.ok()) << name << " record " << r << " column " << v;
        if (by_libesedb.ok()) {
          EXPECT_EQ(*by_libesedb, *by_bytes) << name << " record " << r << " column " << v;
        }
        ++compared;
      }
    }
  }
  EXPECT_GT(compared, 20);
}

TEST(LibesedbDatabase, TextComesWithoutTerminatorAndNullAsNotFound) {
  NullCorruptionReporter corruption;
  std::unique_ptr<Database> database = Open("text.edb", corruption);
  ASSERT_NE(database, nullptr);
  std::unique_ptr<Table> table = TableNamed(*database, u"text");
  ASSERT_NE(table, nullptr);
  auto record = table->ReadRecord(0);
  ASSERT_TRUE(record.ok());
  bool saw_ascii = false;
  for (int v = 0; v < (*record)->value_count(); ++v) {
    const ColumnInfo& column = table->columns()[v];
    if (column.name == u"ASCII") {
      EXPECT_EQ((*record)->ValueText(v).value(), u"Simple ASCII text");
      EXPECT_EQ(column.code_page, 1252u);
      saw_ascii = true;
    }
    if (column.name == u"Unicode") {
      EXPECT_EQ(column.code_page, 1200u);
    }
    if (column.name == u"NullableASCII") {
      EXPECT_EQ((*record)->ValueText(v).status().code(), StatusCode::kNotFound);
    }
  }
  EXPECT_TRUE(saw_ascii);
}

TEST(LibesedbDatabase, AFileThatIsNoDatabaseGivesLibesedbsReason) {
  edbtest::ScratchDir dir;
  const std::string path = (dir / "not.edb").string();
  std::FILE* file = std::fopen(path.c_str(), "wb");
  std::fputs("not an ESE database", file);
  std::fclose(file);
  NullCorruptionReporter corruption;
  auto database = OpenDatabase(path, ReaderChoice::kNative, corruption);
  ASSERT_FALSE(database.ok());
  EXPECT_FALSE(database.status().reason().empty());
}

}  // namespace
}  // namespace edb::ese
