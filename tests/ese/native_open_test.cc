// Opening a database with our own reader: what it declines (so that libesedb
// serves the file) and what it refuses with a clear reason, without waiting
// on anything that is not a regular file.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "ese/database.h"
#include "ese/native_database.h"
#include "ese/page_checksum.h"
#include "native_agreement_support.h"
#include "test_support.h"
#include "esewriter/writer_support.h"

namespace {

using esewriter::ColumnType;
using esewriter::Value;

edb::Status OpenStatus(const std::string& path) {
  nativetest::RecordingReporter reporter;
  auto db = edb::ese::OpenNativeDatabase(path, reporter);
  return db.status();
}

std::string WriteSmallStore(const edbtest::ScratchDir& scratch, uint32_t page_size = 8192) {
  const std::string path = (scratch / "small.edb").string();
  esetest::WriteDatabase(path, page_size, {{{"T", {{"Id", ColumnType::kLong}}}, {{Value::I32(1)}, {Value::I32(2)}}}});
  return path;
}

TEST(NativeOpen, FilesThatCannotBeReadSayWhy) {
  edbtest::ScratchDir scratch;
  edb::Status missing = OpenStatus((scratch / "missing.edb").string());
  EXPECT_EQ(missing.code(), edb::StatusCode::kIoError);
  EXPECT_NE(missing.reason().find("No such file"), std::string::npos) << missing.reason();

  EXPECT_EQ(OpenStatus(scratch.path().string()).code(), edb::StatusCode::kIoError);  // a folder

  const std::string fifo = (scratch / "fifo.edb").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  edb::Status pipe = OpenStatus(fifo);  // must return, not wait for a writer
  EXPECT_EQ(pipe.code(), edb::StatusCode::kIoError);
  EXPECT_NE(pipe.reason().find("not a regular file"), std::string::npos) << pipe.reason();

  const std::string garbage = (scratch / "garbage.edb").string();
  std::ofstream(garbage) << std::string(20000, 'g');
  EXPECT_EQ(OpenStatus(garbage).code(), edb::StatusCode::kCorruption);
}

// A format revision or page size the reader does not know is declined, so
// that the caller can fall back to libesedb.
TEST(NativeOpen, UnknownFormatsAreDeclined) {
  edbtest::ScratchDir scratch;
  const std::string path = WriteSmallStore(scratch);
  ASSERT_TRUE(OpenStatus(path).ok()) << OpenStatus(path).reason();
  std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
  std::vector<uint8_t> header(668);
  file.read(reinterpret_cast<char*>(header.data()), static_cast<std::streamsize>(header.size()));
  header[232] = 0x30;  // format revision
  esewriter::StampHeaderChecksum(header);
  file.seekp(0);
  file.write(reinterpret_cast<const char*>(header.data()), static_cast<std::streamsize>(header.size()));
  file.close();
  edb::Status status = OpenStatus(path);
  EXPECT_EQ(status.code(), edb::StatusCode::kUnsupported) << status.reason();
  EXPECT_NE(status.reason().find("revision"), std::string::npos) << status.reason();
}

// One damaged page of the catalog no longer loses the store: its rows come
// from the shadow copy; a damaged shadow alone costs nothing.
TEST(NativeOpen, DamagedCatalogPageIsTakenFromItsShadow) {
  for (uint32_t page : {4u, 24u}) {
    SCOPED_TRACE(page);
    edbtest::ScratchDir scratch;
    const std::string path = WriteSmallStore(scratch);
    {
      std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
      file.seekp(static_cast<std::streamoff>((page + 1) * 8192));
      file.write(std::string(8192, '\0').data(), 8192);
    }
    nativetest::RecordingReporter reporter;
    auto db = edb::ese::OpenNativeDatabase(path, reporter);
    ASSERT_TRUE(db.ok()) << db.status().reason();
    ASSERT_EQ((*db)->table_count(), 3);
    auto table = (*db)->OpenTable(2);
    ASSERT_TRUE(table.ok());
    EXPECT_EQ((*table)->name(), u"T");
    EXPECT_EQ(*(*table)->RecordCount(), 2);
    if (page == 4) {
      ASSERT_EQ(reporter.reports.size(), 1u) << nativetest::Join(reporter.reports);
      EXPECT_NE(reporter.reports[0].find("MSysObjectsShadow"), std::string::npos) << reporter.reports[0];
    } else {
      EXPECT_TRUE(reporter.reports.empty()) << nativetest::Join(reporter.reports);
    }
  }
}

TEST(NativeOpen, CatalogLostInBothCopiesIsAClearError) {
  edbtest::ScratchDir scratch;
  const std::string path = WriteSmallStore(scratch);
  {
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    for (uint32_t page : {4u, 24u}) {
      file.seekp(static_cast<std::streamoff>((page + 1) * 8192));
      file.write(std::string(8192, '\0').data(), 8192);
    }
  }
  edb::Status status = OpenStatus(path);
  EXPECT_EQ(status.code(), edb::StatusCode::kCorruption);
  EXPECT_NE(status.reason().find("catalog"), std::string::npos) << status.reason();
}

}  // namespace

namespace {

// The native reader serves what it knows; libesedb serves the rest, and
// the database says which reader it is.
TEST(ReaderChoice, NativeByDefaultLibesedbForWhatItDoesNotKnow) {
  nativetest::RecordingReporter reporter;
  auto text = edb::ese::OpenDatabase(edbtest::RealDatabase("text.edb").string(), edb::ese::ReaderChoice::kNative, reporter);
  ASSERT_TRUE(text.ok()) << text.status().reason();
  EXPECT_EQ((*text)->reader_name(), "native");
  auto forced = edb::ese::OpenDatabase(edbtest::RealDatabase("text.edb").string(), edb::ese::ReaderChoice::kLibesedb,
                                       reporter);
  ASSERT_TRUE(forced.ok()) << forced.status().reason();
  EXPECT_EQ((*forced)->reader_name(), "libesedb");
  EXPECT_EQ((*forced)->table_count(), (*text)->table_count());
  for (const char* name : {"SRUDB.dat", "Current.mdb"}) {
    nativetest::RecordingReporter silent;
    const std::string path = edbtest::RealDatabase(name).string();
    auto declined = edb::ese::OpenNativeDatabase(path, silent);
    auto chosen = edb::ese::OpenDatabase(path, edb::ese::ReaderChoice::kNative, silent);
    ASSERT_TRUE(chosen.ok()) << name << ": " << chosen.status().reason();
    EXPECT_EQ((*chosen)->reader_name(), declined.ok() ? "native" : "libesedb") << name;
  }
  auto missing = edb::ese::OpenDatabase("/nonexistent/x.edb", edb::ese::ReaderChoice::kNative, reporter);
  EXPECT_EQ(missing.status().code(), edb::StatusCode::kIoError);
}

}  // namespace
