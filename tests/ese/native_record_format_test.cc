// The record format decoder and the stored-text conversion on hand-built
// records: each column kind, every tagged flag combination the engine
// writes, NULLs, and records that do not hold together.
#include <gtest/gtest.h>

#include <string>

#include "ese/record_format.h"
#include "ese/stored_text.h"

namespace {

using edb::ese::DecodeRecord;
using edb::ese::MemberSlice;
using edb::ese::RecordColumn;
using edb::ese::SplitMultiValue;
using edb::ese::ValueSlice;
using Bytes = std::vector<uint8_t>;

void Put16(Bytes* bytes, uint16_t value) {
  bytes->push_back(static_cast<uint8_t>(value));
  bytes->push_back(static_cast<uint8_t>(value >> 8));
}

// A record with fixed column 1 (4 bytes) set, fixed column 2 (2 bytes)
// past the last fixed column, variable 128 NULL and 129 "abc", and the
// tagged values given as (id, flag byte or -1, payload).
struct Tagged {
  uint16_t id;
  int flags;
  std::string payload;
};

Bytes MakeRecord(const std::vector<Tagged>& tagged) {
  Bytes record = {1, 129};
  Put16(&record, 8);  // variable array after header and fixed column 1
  for (uint8_t b : {0x11, 0x22, 0x33, 0x44}) record.push_back(b);
  Put16(&record, 0x8000);  // 128: NULL
  Put16(&record, 3);       // 129: ends at 3
  for (char c : std::string("abc")) record.push_back(static_cast<uint8_t>(c));
  Bytes values;
  Bytes array;
  const uint16_t array_size = static_cast<uint16_t>(4 * tagged.size());
  for (const Tagged& t : tagged) {
    Put16(&array, t.id);
    uint16_t offset = static_cast<uint16_t>(array_size + values.size());
    Put16(&array, static_cast<uint16_t>(offset | (t.flags >= 0 ? 0x4000 : 0)));
    if (t.flags >= 0) values.push_back(static_cast<uint8_t>(t.flags));
    values.insert(values.end(), t.payload.begin(), t.payload.end());
  }
  record.insert(record.end(), array.begin(), array.end());
  record.insert(record.end(), values.begin(), values.end());
  return record;
}

const std::vector<RecordColumn> kColumns = {{1, 4, 4},   {2, 3, 2},   {128, 9, 0}, {129, 10, 0},
                                            {256, 12, 0}, {257, 11, 0}, {258, 4, 0}};

std::string SliceText(const Bytes& record, const ValueSlice& slice) {
  return std::string(record.begin() + slice.offset, record.begin() + slice.offset + slice.size);
}

TEST(RecordFormat, FixedVariableAndTaggedColumns) {
  Bytes record = MakeRecord({{256, 0x01, "long text"}, {258, -1, std::string("\x05\0\0\0", 4)}});
  std::vector<ValueSlice> slices;
  ASSERT_TRUE(DecodeRecord(record, kColumns, {}, &slices).ok());
  EXPECT_EQ(SliceText(record, slices[0]), "\x11\x22\x33\x44");
  EXPECT_EQ(slices[1].size, 0u);  // after the last fixed column: NULL
  EXPECT_EQ(slices[2].size, 0u);  // NULL bit
  EXPECT_EQ(SliceText(record, slices[3]), "abc");
  EXPECT_EQ(slices[3].flags, 0);
  EXPECT_EQ(SliceText(record, slices[4]), "long text");
  EXPECT_EQ(slices[4].flags, 0x01);
  EXPECT_EQ(slices[5].size, 0u);  // not in the record
  EXPECT_EQ(std::string(record.begin() + slices[6].offset, record.begin() + slices[6].offset + 4),
            std::string("\x05\0\0\0", 4));
  EXPECT_EQ(slices[6].flags, 0);
}

// Every flag byte comes up as the value's flags, the byte itself not in the data.
TEST(RecordFormat, TaggedFlagCombinationsComeUpAsStored) {
  for (int flags : {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x08, 0x09, 0x0b, 0x0c, 0x18}) {
    SCOPED_TRACE(flags);
    Bytes record = MakeRecord({{256, flags, "xyz"}, {257, 0x01, "q"}});
    std::vector<ValueSlice> slices;
    ASSERT_TRUE(DecodeRecord(record, kColumns, {}, &slices).ok());
    EXPECT_EQ(slices[4].flags, flags);
    EXPECT_EQ(SliceText(record, slices[4]), "xyz");
    EXPECT_EQ(SliceText(record, slices[5]), "q");
  }
}

TEST(RecordFormat, TaggedIdsNoColumnAsksForArePassedOver) {
  Bytes record = MakeRecord({{250, -1, "skip"}, {257, -1, "kept"}});
  std::vector<ValueSlice> slices;
  ASSERT_TRUE(DecodeRecord(record, kColumns, {}, &slices).ok());
  EXPECT_EQ(slices[4].size, 0u);
  EXPECT_EQ(SliceText(record, slices[5]), "kept");
}

TEST(RecordFormat, RecordsThatDoNotHoldTogetherAreCorruption) {
  Bytes good = MakeRecord({{256, 0x01, "text"}});
  std::vector<ValueSlice> slices;
  for (size_t cut = 0; cut < good.size(); ++cut) {
    Bytes shorter(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut));
    edb::Status status = DecodeRecord(shorter, kColumns, {}, &slices);
    for (const ValueSlice& slice : slices) ASSERT_LE(slice.offset + slice.size, shorter.size()) << cut;
    if (cut < 15) EXPECT_EQ(status.code(), edb::StatusCode::kCorruption) << cut;
  }
  Bytes backwards = MakeRecord({{256, -1, "ab"}, {257, -1, "cd"}});
  backwards[15 + 6] = 0;  // second tagged offset before the first
  backwards[15 + 7] = 0;
  EXPECT_EQ(DecodeRecord(backwards, kColumns, {}, &slices).code(), edb::StatusCode::kCorruption);
}

TEST(RecordFormat, MultiValueLayouts) {
  // Offsets (bit 15: kept apart), then the members.
  Bytes offsets = {6, 0, 7, 0x80, 11, 0, 'a', 1, 2, 3, 4, 'x', 'y'};
  std::vector<MemberSlice> members;
  ASSERT_TRUE(SplitMultiValue(offsets, 0x08, &members).ok());
  ASSERT_EQ(members.size(), 3u);
  EXPECT_EQ(members[0].offset, 6u);
  EXPECT_EQ(members[0].size, 1u);
  EXPECT_FALSE(members[0].long_value);
  EXPECT_EQ(members[1].size, 4u);
  EXPECT_TRUE(members[1].long_value);
  EXPECT_EQ(members[2].size, 2u);

  // The two-value form: the first member's size, then both.
  Bytes pair = {2, 'a', 'b', 'c', 'd', 'e'};
  ASSERT_TRUE(SplitMultiValue(pair, 0x18, &members).ok());
  ASSERT_EQ(members.size(), 2u);
  EXPECT_EQ(members[0].offset, 1u);
  EXPECT_EQ(members[0].size, 2u);
  EXPECT_EQ(members[1].offset, 3u);
  EXPECT_EQ(members[1].size, 3u);

  EXPECT_FALSE(SplitMultiValue(Bytes{9}, 0x18, &members).ok());
  EXPECT_FALSE(SplitMultiValue(Bytes{40, 0, 1}, 0x08, &members).ok());
  EXPECT_FALSE(SplitMultiValue(Bytes{4, 0, 2, 0, 'a'}, 0x08, &members).ok());  // runs backwards
}

TEST(StoredText, CodePagesAsLibesedbConvertsThem) {
  EXPECT_EQ(*edb::ese::StoredBytesToText(Bytes{'h', 0, 0xe9, 0, 0x3d, 0xd8, 0x00, 0xde}, 1200), u"h\u00e9\U0001f600");
  EXPECT_EQ(*edb::ese::StoredBytesToText(Bytes{'a', 0, 0, 0, 'b', 0}, 1200), u"a");  // ends at NUL
  EXPECT_EQ(*edb::ese::StoredBytesToText(Bytes{'o', 'd', 'd'}, 1200), u"odd");       // odd size: 8-bit
  EXPECT_EQ(*edb::ese::StoredBytesToText(Bytes{0x41, 0xdc}, 1200), u"A\ufffd");  // lone surrogate: 8-bit
  EXPECT_EQ(*edb::ese::StoredBytesToText(Bytes{0x80, 0x9f, 0xe9}, 1252), u"\u20ac\u0178\u00e9");
  EXPECT_EQ(*edb::ese::StoredBytesToText(Bytes{'a', 0, 'b'}, 1252), u"a");
}

TEST(StoredText, SevenBitCompressedText) {
  // "abc" packed 7 bits at a time, least significant first.
  uint32_t bits = 'a' | ('b' << 7) | ('c' << 14);
  Bytes packed = {0x12, static_cast<uint8_t>(bits), static_cast<uint8_t>(bits >> 8), static_cast<uint8_t>(bits >> 16)};
  EXPECT_EQ(*edb::ese::CompressedBytesToText(packed), u"abc");
  EXPECT_EQ(edb::ese::CompressedBytesToText(Bytes{0x18, 1, 2}).status().code(), edb::StatusCode::kUnsupported);
  EXPECT_FALSE(edb::ese::CompressedBytesToText(Bytes{0x12}).ok());
}

}  // namespace
