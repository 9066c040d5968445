// --reader: the command line reads through the reader it is asked for. Our
// own reader verifies page checksums and reports a page whose checksum fails
// (exit 2); libesedb does not, so the same altered page reads clean (exit 0).
// Both still give the same rows.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "test_support.h"

namespace {

// A copy of the sample store with one letter of the Outbox item's subject
// changed and the page checksums left as they were.
std::string AlteredSampleStore(const edbtest::ScratchDir& dir) {
  std::ifstream in(edbtest::SampleStore(), std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::string subject("W\0a\0r\0t\0e\0t\0", 12);  // "Wartet" in UTF-16LE
  const size_t at = bytes.find(subject);
  if (at == std::string::npos) return "";
  bytes[at] = 'w';
  const std::string path = (dir / "altered.edb").string();
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

TEST(ReaderChoiceTest, OnlyTheNativeReaderReportsAPageWhoseChecksumFails) {
  edbtest::ScratchDir dir;
  const std::string store = AlteredSampleStore(dir);
  ASSERT_FALSE(store.empty()) << "the sample's Outbox subject was not found";
  const std::string list = edbtest::Program("edbrecover").string() + " list " + store + " 1-91C2";
  std::string native_rows, libesedb_rows, stderr_text;
  EXPECT_EQ(edbtest::RunCommand(list + " 2>/dev/null", &native_rows), 2);
  EXPECT_EQ(edbtest::RunCommand(list + " --reader native 2>&1 >/dev/null", &stderr_text), 2);
  EXPECT_NE(stderr_text.find("checksum mismatch"), std::string::npos) << stderr_text;
  EXPECT_EQ(edbtest::RunCommand(list + " --reader libesedb 2>/dev/null", &libesedb_rows), 0);
  EXPECT_NE(native_rows.find("wartet auf Versand"), std::string::npos) << native_rows;
  EXPECT_EQ(native_rows, libesedb_rows);
}

TEST(ReaderChoiceTest, AnUnknownReaderIsRefused) {
  std::string out;
  const std::string command =
      edbtest::Program("edbrecover").string() + " scan " + edbtest::SampleStore().string() + " --reader foo 2>&1";
  EXPECT_NE(edbtest::RunCommand(command, &out), 0);
  EXPECT_NE(out.find("--reader"), std::string::npos) << out;
}

}  // namespace
