// A table of more than 16,385 leaf pages, which libesedb refuses whole, reads
// whole through our own reader, in order.
#include <gtest/gtest.h>

#include <libesedb.h>

#include "ese/native_database.h"
#include "native_agreement_support.h"
#include "ese/esedb_handles.h"
#include "test_support.h"
#include "esewriter/writer_support.h"

namespace {

using esewriter::ColumnType;
using esewriter::Value;

// One record per 4 KiB page: the cheapest way past libesedb's limit.
constexpr int kRecords = 16500;

TEST(SlowNativeLargeTable, MoreLeafPagesThanLibesedbAllowsReadWhole) {
  edbtest::ScratchDir scratch;
  const std::string path = (scratch / "wide.edb").string();
  {
    esewriter::DatabaseWriter db({.page_size = 4096, .scratch_directory = scratch.path().string()});
    esewriter::TableWriter& table =
        db.AddTable({"Wide", {{"Id", ColumnType::kLong}, {"A", ColumnType::kLongBinary}, {"B", ColumnType::kLongBinary},
                              {"C", ColumnType::kLongBinary}}});
    // Three values of 1,000 bytes stay in the record: too big for two a page.
    const Value filler = Value::Bytes(std::vector<uint8_t>(1000, 'f'));
    for (int i = 0; i < kRecords; ++i) table.Append({Value::I32(i), filler, filler, filler});
    db.Finish(path);
  }

  {  // libesedb's safeguard: the table has too many leaf pages
    edb::EsedbError error;
    edb::EsedbFile file = edb::OpenEsedbFile(path, &error);
    ASSERT_TRUE(file);
    edb::EsedbTable table;
    ASSERT_TRUE(edb::TableByIndex(file.get(), 2, &table, &error));
    int count = 0;
    EXPECT_NE(libesedb_table_get_number_of_records(table.get(), &count, error.slot()), 1);
  }

  nativetest::RecordingReporter reporter;
  auto db = edb::ese::OpenNativeDatabase(path, reporter);
  ASSERT_TRUE(db.ok()) << db.status().reason();
  auto table = (*db)->OpenTable(2);
  ASSERT_TRUE(table.ok());
  ASSERT_EQ(*(*table)->RecordCount(), kRecords);
  for (int i = 0; i < kRecords; ++i) {
    auto record = (*table)->ReadRecord(i);
    ASSERT_TRUE(record.ok()) << record.status().reason();
    edb::ese::Value id;
    ASSERT_TRUE((*record)->ReadValue(0, &id).ok());
    ASSERT_EQ(id.data, esetest::Le32(static_cast<uint32_t>(i)));
    edb::ese::Value filler;
    ASSERT_TRUE((*record)->ReadValue(1, &filler).ok());
    ASSERT_EQ(filler.data.size(), 1000u);
  }
  EXPECT_TRUE(reporter.reports.empty()) << nativetest::Join(reporter.reports);
}

}  // namespace
