// The account of what damage cost: each object counted once per damage and
// kind, damages kept apart and in the order first costed, and the wording
// of one and of many.
#include <gtest/gtest.h>

#include "base/damage_costs.h"

namespace edb {
namespace {

using Lines = std::vector<std::pair<std::string, std::string>>;

TEST(DamageCosts, CountsEachObjectOncePerDamage) {
  DamageCosts costs;
  EXPECT_TRUE(costs.Add("page 87", Loss::kBody, "a"));
  EXPECT_FALSE(costs.Add("page 87", Loss::kBody, "a"));
  EXPECT_TRUE(costs.Add("page 87", Loss::kBody, "b"));
  EXPECT_TRUE(costs.Add("page 87", Loss::kAttachment, "a"));
  EXPECT_TRUE(costs.Add("page 90", Loss::kBody, "a"));
  EXPECT_EQ(costs.object_count(), 4);
  EXPECT_EQ(costs.damage_count(), 2u);
}

TEST(DamageCosts, SaysPerDamageWhatItCostInTheOrderFirstCosted) {
  DamageCosts costs;
  costs.Add("record 3 of table Msg", Loss::kRecord, "r");
  costs.Add("page 87", Loss::kAttachment, "x");
  costs.Add("page 87", Loss::kBody, "a");
  costs.Add("page 87", Loss::kBody, "b");
  costs.Add("page 87", Loss::kAttachment, "y");
  EXPECT_EQ(costs.Lines(), (Lines{{"record 3 of table Msg", "1 record skipped"},
                                  {"page 87", "bodies of 2 items lost; 2 attachments lost"}}));
}

TEST(DamageCosts, WordsOneAndMany) {
  EXPECT_EQ(LossText(Loss::kBody, 1), "body of 1 item lost");
  EXPECT_EQ(LossText(Loss::kBody, 3), "bodies of 3 items lost");
  EXPECT_EQ(LossText(Loss::kAttachment, 1), "1 attachment lost");
  EXPECT_EQ(LossText(Loss::kRecord, 12), "12 records skipped");
}

}  // namespace
}  // namespace edb
