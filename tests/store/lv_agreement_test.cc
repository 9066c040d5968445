// The own long-value reader delivers what libesedb's long-value functions
// deliver: the same segments, in the same order, with the same bytes.
#include <gtest/gtest.h>

#include "store/lv_test_support.h"
#include "test_support.h"

namespace {

std::string Join(const std::vector<std::string>& lines) {
  std::string text;
  for (size_t i = 0; i < lines.size() && i < 20; ++i) text += lines[i] + "\n";
  return text;
}

// Databases written by Windows' own engine; those with separated long
// values must agree value for value.
TEST(LongValueAgreement, WindowsWrittenDatabases) {
  int total = 0;
  for (const char* name : {"text.edb", "binary.edb", "multi.edb", "index.edb", "basic.edb", "default.edb",
                           "SRUDB.dat", "Current.mdb"}) {
    std::vector<std::string> differences;
    int compared = lvtest::CompareWithLibesedb(edbtest::RealDatabase(name).string(), &differences);
    ASSERT_GE(compared, 0) << name;
    EXPECT_TRUE(differences.empty()) << name << ":\n" << Join(differences);
    total += compared;
  }
  EXPECT_GT(total, 0);
}

}  // namespace
