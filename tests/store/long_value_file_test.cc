// Writing a record value to a file of the temporary folder: which values are
// written, and what kind of failure each way of failing reports.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "base/private_temp_folder.h"
#include "ese/database_writer.h"
#include "render_db_support.h"
#include "scan_recorders.h"
#include "store/long_value_file.h"
#include "test_support.h"

namespace {

using esewriter::ColumnType;
using esewriter::Value;

class LongValueFileTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    scratch_ = new edbtest::ScratchDir;
    esewriter::DatabaseWriter writer({.page_size = 4096});
    auto& table = writer.AddTable({"1-23", {{"N3701", ColumnType::kLongBinary}, {"S3001", ColumnType::kText, 1252}}});
    table.Append({Value::Bytes(std::string(9000, 'z')), Value::Text1252("report.pdf")});  // a long value
    table.Append({Value::Bytes(std::string("inline")), Value::Text1252("small.txt")});     // kept in the record
    writer.Finish((*scratch_ / "values.edb").string());
  }
  static void TearDownTestSuite() {
    delete scratch_;
    scratch_ = nullptr;
  }

  static std::string FileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  edbtest::TableUnderTest table{*scratch_ / "values.edb", "1-23"};
  edbtest::RecordUnderTest separated{table, 0};
  edbtest::RecordUnderTest in_record{table, 1};
  edb::PrivateTempFolder folder{scratch_->path()};
  edbtest::RecordingEvents events;

  static edbtest::ScratchDir* scratch_;
};

edbtest::ScratchDir* LongValueFileTest::scratch_ = nullptr;

TEST_F(LongValueFileTest, ALongValueIsWrittenWholeUnderItsName) {
  std::filesystem::path written;
  const edb::Status status =
      edb::WriteLongValueFile(separated.ref(), table.Column("N3701"), u"report.pdf", folder, events, &written);
  ASSERT_TRUE(status.ok()) << status.reason();
  EXPECT_EQ(written.parent_path(), folder.path());
  EXPECT_EQ(FileText(written), std::string(9000, 'z'));
  EXPECT_FALSE(events.ProgressPositions().empty()) << "the progress steps once per segment";
}

TEST_F(LongValueFileTest, AValueKeptInTheRecordIsReadAndNothingIsWritten) {
  std::filesystem::path written;
  const edb::Status status =
      edb::WriteLongValueFile(in_record.ref(), table.Column("N3701"), u"small.txt", folder, events, &written);
  EXPECT_TRUE(status.ok()) << status.reason();
  EXPECT_TRUE(written.empty());
  EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}

TEST_F(LongValueFileTest, FailuresSayWhetherTheInputOrTheFolderIsAtFault) {
  // A value the record does not have: the input is at fault.
  edb::Status status = edb::WriteLongValueFile(separated.ref(), 99, u"x", folder, events);
  EXPECT_EQ(status.code(), edb::StatusCode::kCorruption);
  EXPECT_EQ(status.reason(), "the value cannot be read");

  // A folder that is gone: the file cannot be created, an I/O error that
  // names the file.
  std::filesystem::remove_all(folder.path());
  std::filesystem::path written;
  status = edb::WriteLongValueFile(separated.ref(), table.Column("N3701"), u"report.pdf", folder, events, &written);
  EXPECT_EQ(status.code(), edb::StatusCode::kIoError);
  EXPECT_TRUE(status.reason().starts_with("cannot create ")) << status.reason();
  EXPECT_TRUE(written.empty()) << "no file was created";
}

}  // namespace
