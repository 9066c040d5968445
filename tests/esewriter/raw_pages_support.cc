// Direct page reading for layout tests.
#include "raw_pages_support.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace esetest {
namespace {

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Le32(const uint8_t* p) { return Le16(p) | (static_cast<uint32_t>(Le16(p + 2)) << 16); }

}  // namespace

RawDatabase::RawDatabase(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  bytes_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (bytes_.size() < 4096) throw std::runtime_error("cannot read " + path.string());
  page_size_ = Le32(bytes_.data() + 236);
}

uint32_t RawDatabase::last_page() const { return static_cast<uint32_t>(bytes_.size() / page_size_) - 2; }

RawPage RawDatabase::Page(uint32_t number) const {
  if (number == 0 || number > last_page()) throw std::out_of_range("page " + std::to_string(number));
  const uint8_t* page = bytes_.data() + (static_cast<size_t>(number) + 1) * page_size_;
  RawPage out;
  out.number = number;
  out.previous = Le32(page + 16);
  out.next = Le32(page + 20);
  out.objid = Le32(page + 24);
  out.flags = Le32(page + 36);
  const uint16_t tag_count = Le16(page + 34);
  const uint8_t* data = page + 40;
  for (uint16_t i = 0; i < tag_count; ++i) {
    const uint8_t* tag = page + page_size_ - 4 * (i + 1);
    const size_t size = Le16(tag) & 0x1fff;
    const size_t offset = Le16(tag + 2) & 0x1fff;
    const bool compressed = ((Le16(tag + 2) >> 13) & 0x4) != 0;
    const uint8_t* value = data + offset;
    if (i == 0) {
      out.first_tag.assign(value, value + size);
      continue;
    }
    RawNode node;
    size_t at = 0;
    if (compressed) {
      node.shared_prefix = Le16(value);
      node.key.assign(out.first_tag.begin(), out.first_tag.begin() + static_cast<std::ptrdiff_t>(node.shared_prefix));
      at = 2;
    }
    const size_t local = Le16(value + at);
    at += 2;
    node.key.insert(node.key.end(), value + at, value + at + local);
    at += local;
    node.data.assign(value + at, value + size);
    out.nodes.push_back(std::move(node));
  }
  return out;
}

std::vector<RawPage> RawDatabase::Leaves(uint32_t root) const {
  RawPage page = Page(root);
  while ((page.flags & 0x2) == 0) page = Page(Le32(page.nodes.front().data.data()));
  std::vector<RawPage> leaves;
  while (true) {
    const uint32_t next = page.next;
    leaves.push_back(std::move(page));
    if (next == 0) break;
    page = Page(next);
  }
  return leaves;
}

}  // namespace esetest
