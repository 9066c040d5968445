// Damage is reported once, by the reader that finds it: a long-value page
// whose checksum fails is one report however many bodies it held and however
// often the folder is opened; the bodies it held are its cost, each item
// once, and the items beside it still read.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "damaged_body_store.h"
#include "loader_store.h"
#include "base/text_encoding.h"

namespace {

std::string Joined(const std::vector<std::string>& lines) {
  std::string all;
  for (const std::string& line : lines) all += line + "\n";
  return all;
}

class DamagedBodyPage : public ::testing::Test {
 protected:
  void SetUp() override {
    damaged_ = edbtest::WriteDamagedBodyStore(dir_, 3);
    store_ = std::make_unique<edbtest::ScannedTestStore>(damaged_.path);
    ASSERT_TRUE(store_->corruption.reports.empty()) << Joined(store_->corruption.reports);
  }

  void OpenInbox() { store_->Open(store_->Folder("Mailbox - Test", "Inbox")); }

  std::string PageWhere() const {
    return "page " + std::to_string(damaged_.damaged_page) + " of the long values of table Msg";
  }

  edbtest::ScratchDir dir_;
  edbtest::DamagedBodyStore damaged_;
  std::unique_ptr<edbtest::ScannedTestStore> store_;
};

TEST_F(DamagedBodyPage, IsReportedOnceWithTheBodiesItCostAsItsCost) {
  OpenInbox();
  const std::vector<std::string>& reports = store_->corruption.reports;
  ASSERT_EQ(reports.size(), 1u) << Joined(reports);
  EXPECT_EQ(reports[0].rfind(PageWhere() + ": ", 0), 0u) << reports[0];
  EXPECT_NE(reports[0].find("checksum mismatch"), std::string::npos) << reports[0];

  const std::vector<std::string>& costs = store_->corruption.costs;
  ASSERT_EQ(costs.size(), 3u) << Joined(costs);
  std::set<std::string> items;
  for (const std::string& cost : costs) {
    EXPECT_EQ(cost.rfind(PageWhere() + ": body of 1 item lost (", 0), 0u) << cost;
    items.insert(cost);
  }
  EXPECT_EQ(items.size(), 3u) << "each cost names its own item:\n" << Joined(costs);
}

TEST_F(DamagedBodyPage, CostsOnlyItsOwnBodies) {
  OpenInbox();
  int read_bodies = 0;
  for (const edb::BodyChunk& chunk : store_->contents.chunks().chunks()) {
    EXPECT_EQ(edb::Utf16ToUtf8(chunk.text), "Still here");
    ++read_bodies;
  }
  EXPECT_EQ(read_bodies, 1);
}

TEST_F(DamagedBodyPage, OpenedAgainIsNotReportedAgain) {
  OpenInbox();
  OpenInbox();
  EXPECT_EQ(store_->corruption.reports.size(), 1u) << Joined(store_->corruption.reports);
  // The bodies are lost again; a reporter's account counts each item once.
  EXPECT_EQ(store_->corruption.costs.size(), 6u) << Joined(store_->corruption.costs);
}

}  // namespace
