// Resolving and reading the long values of one table.
#include "store/lv_reader.h"

#include <cstdio>

namespace edb {
namespace {

std::string LidText(uint32_t lid) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%x", lid);
  return text;
}

}  // namespace

LongValueReader::LongValueReader(std::shared_ptr<const EseFile> file, std::string table_name, TreeShape shape,
                                 CorruptionReporter* reporter)
    : file_(std::move(file)), table_name_(std::move(table_name)), shape_(shape), reporter_(reporter) {}

const LongValueIndex& LongValueReader::Index() {
  std::call_once(built_, [this] {
    if (shape_.root_page == 0) {
      index_ = std::make_unique<LongValueIndex>();
      return;
    }
    index_ = LongValueIndex::Build(*file_, shape_);
    for (const TreeDamage& damage : index_->damage()) {
      reporter_->Corruption("long-value tree of table " + table_name_ + ", page " + std::to_string(damage.page),
                            damage.reason);
    }
  });
  return *index_;
}

bool LongValueReader::Resolve(uint32_t lid, std::vector<LongValueChunk>* chunks, std::string* error) {
  chunks->clear();
  const LongValueIndex& index = Index();
  if (shape_.root_page == 0) return Fail(lid, "the table has no long-value tree", error);
  if (const TreeDamage* damage = index.DamageCovering(lid)) {
    return Fail(lid, "it lies in unreadable page " + std::to_string(damage->page) + " (" + damage->reason + ")",
                error);
  }
  const LongValueEntry* entry = index.Find(lid);
  if (entry == nullptr || !entry->has_root) return Fail(lid, "it is missing from the long-value tree", error);
  if (entry->root_data_size != 8) {
    return Fail(lid, "its root record holds " + std::to_string(entry->root_data_size) + " bytes, not 8", error);
  }
  // Follow the chunks from offset 0, each next one starting where the one
  // before ends; chunks off that chain are not part of the value.
  uint64_t expected = 0;
  for (const LongValueChunk& chunk : index.ChunksOf(*entry)) {
    if (chunk.offset < expected) continue;
    if (chunk.offset > expected) break;
    if (chunk.size == 0) {
      chunks->clear();
      return Fail(lid, "its chunk at offset " + std::to_string(chunk.offset) + " is empty", error);
    }
    chunks->push_back(chunk);
    expected += chunk.size;
    if (expected > UINT32_MAX) break;
  }
  return true;
}

bool LongValueReader::ReadChunk(const LongValueChunk& chunk, std::vector<uint8_t>* data, std::string* error) const {
  data->resize(chunk.size);
  if (chunk.size == 0) return true;
  if (!file_->ReadAt(chunk.file_offset, chunk.size, data->data(), error)) {
    data->clear();
    return false;
  }
  return true;
}

bool LongValueReader::Fail(uint32_t lid, const std::string& reason, std::string* error) {
  *error = "long value " + LidText(lid) + " of table " + table_name_ + ": " + reason;
  reporter_->Corruption("long value " + LidText(lid) + " of table " + table_name_, reason);
  return false;
}

}  // namespace edb
