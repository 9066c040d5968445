// Which reading the value flags select, for every combination of the five
// flags: multi-value wins over long value and compressed, the size-list
// flag turns a multi-value into raw bytes, long value wins over compressed,
// and only 0 and 0x01 are plain.
#include <gtest/gtest.h>

#include "store/record_value.h"

namespace edb {
namespace {

// Flags: 0x01 variable size, 0x02 compressed, 0x04 long value, 0x08
// multi-value, 0x10 member sizes instead of offsets.
struct FlagCase {
  uint8_t flags;
  ValueReading reading;
};

constexpr ValueReading kPlain = ValueReading::kPlain;
constexpr ValueReading kCompressed = ValueReading::kCompressed;
constexpr ValueReading kLongValue = ValueReading::kLongValue;
constexpr ValueReading kMultiValue = ValueReading::kMultiValue;
constexpr ValueReading kOther = ValueReading::kOther;

constexpr FlagCase kEveryCombination[] = {
    // Neither multi-value nor size list.
    {0x00, kPlain},      {0x01, kPlain},      {0x02, kCompressed}, {0x03, kCompressed},
    {0x04, kLongValue},  {0x05, kLongValue},  {0x06, kLongValue},  {0x07, kLongValue},
    // Multi-value: member by member, whatever else is set.
    {0x08, kMultiValue}, {0x09, kMultiValue}, {0x0a, kMultiValue}, {0x0b, kMultiValue},
    {0x0c, kMultiValue}, {0x0d, kMultiValue}, {0x0e, kMultiValue}, {0x0f, kMultiValue},
    // Size list without multi-value: not plain, so the other flags decide.
    {0x10, kOther},      {0x11, kOther},      {0x12, kCompressed}, {0x13, kCompressed},
    {0x14, kLongValue},  {0x15, kLongValue},  {0x16, kLongValue},  {0x17, kLongValue},
    // Size-listed multi-values: raw bytes only.
    {0x18, kOther},      {0x19, kOther},      {0x1a, kOther},      {0x1b, kOther},
    {0x1c, kOther},      {0x1d, kOther},      {0x1e, kOther},      {0x1f, kOther},
};

TEST(ValueFlagsTest, EveryCombinationOfTheFiveFlags) {
  for (const FlagCase& c : kEveryCombination) {
    EXPECT_EQ(ReadingOfFlags(c.flags), c.reading) << "flags 0x" << std::hex << int{c.flags};
  }
}

TEST(ValueFlagsTest, HigherBitsDoNotMakeAValuePlain) {
  EXPECT_EQ(ReadingOfFlags(0x20), kOther);
  EXPECT_EQ(ReadingOfFlags(0x25), kLongValue);
  EXPECT_EQ(ReadingOfFlags(0x89), kMultiValue);
}

}  // namespace
}  // namespace edb
