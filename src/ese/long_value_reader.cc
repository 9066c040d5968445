// Resolving and reading the long values of one table.
#include "ese/long_value_reader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace edb {
namespace {

constexpr size_t kRecentPageCount = 64;

std::string LidText(uint32_t lid) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%x", lid);
  return text;
}

}  // namespace

// The last leaf pages the index walk read, so that a long value read right
// after the walk indexed it needs no second read of the file. Only the walk's
// LeafPage calls matter; its entries and damage go to the index.
class RecentPages : public TreeVisitor {
 public:
  explicit RecentPages(uint32_t page_size) : page_size_(page_size) {}

  void Leaf(const TreeLeafEntry&) override {}
  void Damage(const TreeDamage&) override {}
  void LeafPage(uint32_t page, std::span<const uint8_t> bytes) override {
    if (slots_.size() < kRecentPageCount) slots_.emplace_back();
    Slot& slot = slots_[next_ % slots_.size()];
    ++next_;
    slot.page = page;
    slot.bytes.assign(bytes.begin(), bytes.end());
  }

  // Copies the file's bytes [file_offset, file_offset + size) into `out`
  // when a kept page holds all of them.
  bool Copy(uint64_t file_offset, uint32_t size, std::vector<uint8_t>* out) const {
    uint64_t page = file_offset / page_size_;
    if (page == 0) return false;
    size_t at = static_cast<size_t>(file_offset % page_size_);
    for (const Slot& slot : slots_) {
      if (slot.page + uint64_t{1} != page || at + size > slot.bytes.size()) continue;
      out->assign(slot.bytes.begin() + static_cast<long>(at), slot.bytes.begin() + static_cast<long>(at + size));
      return true;
    }
    return false;
  }

 private:
  struct Slot {
    uint32_t page = 0;
    std::vector<uint8_t> bytes;
  };
  uint32_t page_size_;
  std::vector<Slot> slots_;
  size_t next_ = 0;
};

LongValueReader::LongValueReader(std::shared_ptr<const EseFile> file, std::string table_name, TreeShape shape,
                                 CorruptionReporter* reporter)
    : file_(std::move(file)),
      table_name_(std::move(table_name)),
      shape_(shape),
      reporter_(reporter),
      recent_(std::make_unique<RecentPages>(file_->page_size())),
      index_(std::make_unique<LongValueIndex>(*file_, shape_, recent_.get())) {}

LongValueReader::~LongValueReader() = default;

const LongValueIndex& LongValueReader::Index() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (shape_.root_page != 0) {
    index_->IndexAll();
    ReportNewDamage();
  }
  return *index_;
}

bool LongValueReader::Resolve(uint32_t lid, std::vector<LongValueChunk>* chunks, std::string* error,
                              std::string* reported_as) {
  chunks->clear();
  std::lock_guard<std::mutex> lock(mutex_);
  if (shape_.root_page == 0) return Fail(lid, "the table has no long-value tree", error, reported_as);
  index_->IndexThrough(lid);
  ReportNewDamage();
  if (const TreeDamage* damage = index_->DamageCovering(lid)) {
    // The page was reported when the index met it; the value is its cost.
    *error = "long value " + LidText(lid) + " of table " + table_name_ + ": it lies in unreadable page " +
             std::to_string(damage->page) + " (" + damage->reason + ")";
    if (reported_as != nullptr) *reported_as = PageWhere(damage->page);
    return false;
  }
  const LongValueEntry* entry = index_->Find(lid);
  if (entry == nullptr || !entry->has_root) return Fail(lid, "it is missing from the long-value tree", error, reported_as);
  if (entry->root_data_size != 8) {
    return Fail(lid, "its root record holds " + std::to_string(entry->root_data_size) + " bytes, not 8", error,
                reported_as);
  }
  // Follow the chunks from offset 0, each next one starting where the one
  // before ends; chunks off that chain are not part of the value.
  uint64_t expected = 0;
  for (const LongValueChunk& chunk : index_->ChunksOf(*entry)) {
    if (chunk.offset < expected) continue;
    if (chunk.offset > expected) break;
    if (chunk.size == 0) {
      chunks->clear();
      return Fail(lid, "its chunk at offset " + std::to_string(chunk.offset) + " is empty", error, reported_as);
    }
    chunks->push_back(chunk);
    expected += chunk.size;
    if (expected > UINT32_MAX) break;
  }
  return true;
}

bool LongValueReader::ReadChunk(const LongValueChunk& chunk, std::vector<uint8_t>* data, std::string* error) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (recent_->Copy(chunk.file_offset, chunk.size, data)) return true;
  }
  data->resize(chunk.size);
  if (chunk.size > 0 && !file_->ReadAt(chunk.file_offset, chunk.size, data->data(), error)) {
    data->clear();
    return false;
  }
  return true;
}

void LongValueReader::ReportNewDamage() {
  const std::vector<TreeDamage>& damage = index_->damage();
  for (; reported_damage_ < damage.size(); ++reported_damage_) {
    reporter_->Corruption(PageWhere(damage[reported_damage_].page), damage[reported_damage_].reason);
  }
}

std::string LongValueReader::PageWhere(uint32_t page) const {
  return "page " + std::to_string(page) + " of the long values of table " + table_name_;
}

bool LongValueReader::Fail(uint32_t lid, const std::string& reason, std::string* error, std::string* reported_as) {
  const std::string where = "long value " + LidText(lid) + " of table " + table_name_;
  *error = where + ": " + reason;
  if (reported_values_.insert(lid).second) reporter_->Corruption(where, reason);
  if (reported_as != nullptr) *reported_as = where;
  return false;
}

}  // namespace edb
