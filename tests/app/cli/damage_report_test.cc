// What the command line says about damage: a long-value page whose checksum
// fails is one line when met and, at the end, one line with what it cost;
// the items it cost count once each among the skipped, and the exit status
// is 2.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "damaged_body_store.h"
#include "test_support.h"

namespace {

std::vector<std::string> LinesStartingWith(const std::string& text, const std::string& prefix) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind(prefix, 0) == 0) lines.push_back(line);
  }
  return lines;
}

class DamageReport : public ::testing::Test {
 protected:
  void SetUp() override { damaged_ = edbtest::WriteDamagedBodyStore(dir_, 3); }

  int Run(const std::string& arguments, std::string* out) {
    return edbtest::RunCommand(edbtest::Program("edbrecover").string() + " " + arguments + " 2>&1", out);
  }

  std::string PageWhere() const {
    return "page " + std::to_string(damaged_.damaged_page) + " of the long values of table Msg";
  }

  edbtest::ScratchDir dir_;
  edbtest::DamagedBodyStore damaged_;
};

TEST_F(DamageReport, ExportSaysOnceWhatOneDamagedPageCost) {
  std::string out;
  EXPECT_EQ(Run("export '" + damaged_.path + "' --to '" + (dir_ / "saved").string() + "'", &out), 2) << out;
  const std::vector<std::string> skipped = LinesStartingWith(out, "edbrecover: skipped ");
  ASSERT_EQ(skipped.size(), 1u) << out;
  EXPECT_EQ(skipped[0].rfind("edbrecover: skipped " + PageWhere() + ": ", 0), 0u) << out;
  EXPECT_NE(skipped[0].find("checksum mismatch"), std::string::npos) << out;
  EXPECT_EQ(LinesStartingWith(out, "edbrecover: damaged "),
            std::vector<std::string>{"edbrecover: damaged " + PageWhere() + ": bodies of 3 items lost"})
      << out;
  EXPECT_NE(out.find("; 3 items skipped"), std::string::npos) << out;
}

// `show` reads the folder's bodies: the damage is said once, the item
// beside it still shows its body.
TEST_F(DamageReport, ShowOfAnItemBesideTheDamageStillShowsItsBody) {
  std::string out;
  EXPECT_EQ(Run("show '" + damaged_.path + "' 'Mailbox - Test/Inbox' 100000000010100", &out), 2) << out;
  EXPECT_EQ(LinesStartingWith(out, "edbrecover: skipped ").size(), 1u) << out;
  EXPECT_EQ(LinesStartingWith(out, "edbrecover: damaged ").size(), 1u) << out;
  EXPECT_NE(out.find("\nStill here\n"), std::string::npos) << out;
}

}  // namespace
