// Fuzzes the decoding of database pages and records: any page parses within
// its bounds, any record decodes to values inside it, and any value's text
// and multi-value members stay inside the value. The first byte picks what
// the rest of the input is fed to; the rest is copied into a buffer of
// exactly its size, so that reading one byte past it is caught.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <span>
#include <vector>

#include "ese/record_format.h"
#include "ese/stored_text.h"
#include "ese/ese_page.h"

namespace {

using edb::ese::RecordColumn;

// Fixed columns of every size, variable columns, tagged columns (text too).
const RecordColumn kColumns[] = {{1, 1, 1},   {2, 3, 2},   {3, 4, 4},   {4, 15, 8},  {5, 16, 16}, {128, 9, 0},
                                 {129, 10, 0}, {130, 10, 0}, {256, 12, 0}, {257, 11, 0}, {258, 4, 0}, {300, 10, 0}};

void CheckRecord(std::span<const uint8_t> record) {
  std::vector<edb::ese::ValueSlice> slices;
  if (!edb::ese::DecodeRecord(record, kColumns, {}, &slices).ok()) return;
  for (const auto& slice : slices) {
    if (slice.offset > record.size() || slice.size > record.size() - slice.offset) std::abort();
    std::span<const uint8_t> value = record.subspan(slice.offset, slice.size);
    (void)edb::ese::StoredBytesToText(value, 1200);
    if ((slice.flags & 0x02) != 0) (void)edb::ese::CompressedBytesToText(value);
    std::vector<edb::ese::MemberSlice> members;
    if ((slice.flags & 0x08) != 0 && edb::ese::SplitMultiValue(value, slice.flags, &members).ok()) {
      for (const auto& member : members) {
        if (member.offset > value.size() || member.size > value.size() - member.offset) std::abort();
      }
    }
  }
}

void CheckPage(std::span<const uint8_t> input) {
  constexpr uint32_t kPageSize = 4096;
  auto page = std::make_unique<uint8_t[]>(kPageSize);
  std::memcpy(page.get(), input.data(), std::min<size_t>(input.size(), kPageSize));
  edb::EseFileHeader header{0x620, 0x0c, kPageSize};
  edb::PageView view;
  std::string checksum_problem;
  std::string error;
  if (!view.ParseChecked(std::span<const uint8_t>(page.get(), kPageSize), 7, header, &checksum_problem, &error))
    return;
  for (int i = 1; i < view.tag_count(); ++i) {
    std::span<const uint8_t> node = view.TagData(i);
    if (node.data() < page.get() || node.data() + node.size() > page.get() + kPageSize) std::abort();
    // The node as a leaf entry: key size, key, then the record.
    size_t at = (view.TagFlags(i) & edb::kTagFlagCommonKey) != 0 ? 2 : 0;
    if (node.size() < at + 2) continue;
    size_t key = edb::LoadLe16(node.data() + at);
    if (key > node.size() - at - 2) continue;
    CheckRecord(node.subspan(at + 2 + key));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t rest = size - 1;
  auto exact = std::make_unique<uint8_t[]>(rest);
  if (rest > 0) std::memcpy(exact.get(), data + 1, rest);
  std::span<const uint8_t> input(exact.get(), rest);
  switch (data[0] % 3) {
    case 0:
      CheckRecord(input);
      break;
    case 1:
      CheckPage(input);
      break;
    default: {
      (void)edb::ese::StoredBytesToText(input, 1200);
      (void)edb::ese::StoredBytesToText(input, 1252);
      (void)edb::ese::CompressedBytesToText(input);
      std::vector<edb::ese::MemberSlice> members;
      (void)edb::ese::SplitMultiValue(input, 0x08, &members);
      (void)edb::ese::SplitMultiValue(input, 0x18, &members);
      break;
    }
  }
  return 0;
}
