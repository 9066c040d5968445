// The own-reader long-value provider and its per-table source.
#include "ese/fast_long_value_source.h"

#include "ese/esedb_handles.h"
#include "base/text_encoding.h"

namespace edb {
namespace {

constexpr uint8_t kValueFlagLongValue = 0x04;
constexpr uint8_t kValueFlagMultiValue = 0x08;

// Shared by every provider made without a reporter; lives as long as the
// sources, which may outlive their provider.
CorruptionReporter& DiscardingReporter() {
  static NullCorruptionReporter reporter;
  return reporter;
}

class FastSegments : public LongValueSegments {
 public:
  FastSegments(std::shared_ptr<LongValueReader> reader, std::vector<LongValueChunk> chunks)
      : reader_(std::move(reader)), chunks_(std::move(chunks)) {}

  int count() const override { return static_cast<int>(chunks_.size()); }

  bool Segment(int index, std::vector<uint8_t>* data, std::string* error) override {
    if (index < 0 || index >= count()) {
      *error = "no segment " + std::to_string(index);
      return false;
    }
    return reader_->ReadChunk(chunks_[index], data, error);
  }

 private:
  std::shared_ptr<LongValueReader> reader_;
  std::vector<LongValueChunk> chunks_;
};

}  // namespace

bool LongValueIdOf(libesedb_record_t* record, int value, uint32_t* lid, std::string* error) {
  EsedbError e;
  uint8_t flags = 0;
  if (libesedb_record_get_value_data_flags(record, value, &flags, e.slot()) != 1) {
    *error = e.Message();
    return false;
  }
  if ((flags & kValueFlagLongValue) == 0) {
    *error = "not a long value";
    return false;
  }
  if ((flags & kValueFlagMultiValue) != 0) {
    *error = "multi-valued long values are not supported";
    return false;
  }
  size_t size = 0;
  if (libesedb_record_get_value_data_size(record, value, &size, e.slot()) != 1) {
    *error = e.Message();
    return false;
  }
  if (size == 0) {
    *error = "no long value";
    return false;
  }
  if (size != 4) {
    *error = "unsupported long-value identifier of " + std::to_string(size) + " bytes";
    return false;
  }
  uint8_t bytes[4];
  if (libesedb_record_get_value_data(record, value, bytes, sizeof bytes, e.slot()) != 1) {
    *error = e.Message();
    return false;
  }
  *lid = LoadLe32(bytes);
  return true;
}

std::unique_ptr<LongValueSegments> FastLongValueSource::Open(libesedb_record_t* record, int value,
                                                             std::string* error) {
  uint32_t lid = 0;
  if (!LongValueIdOf(record, value, &lid, error)) return nullptr;
  std::vector<LongValueChunk> chunks;
  if (!reader_->Resolve(lid, &chunks, error)) return nullptr;
  return std::make_unique<FastSegments>(reader_, std::move(chunks));
}

FastLongValueProvider::FastLongValueProvider(const std::string& path, CorruptionReporter* reporter, Notice notice)
    : reporter_(reporter != nullptr ? reporter : &DiscardingReporter()), notice_(std::move(notice)) {
  std::string error;
  std::shared_ptr<EseFile> file = EseFile::Open(path, &error);
  if (file && !IsKnownPageLayout(file->header(), &error)) file.reset();
  if (file && !catalog_.Read(*file, &error)) file.reset();
  if (!file) {
    fallback_reason_ = error;
    Tell("Long values are read through libesedb (" + error + ")");
    return;
  }
  for (const TreeDamage& damage : catalog_.damage()) {
    reporter_->Corruption("catalog, page " + std::to_string(damage.page), damage.reason);
  }
  file_ = std::move(file);
}

std::unique_ptr<LongValueSource> FastLongValueProvider::ForTable(const std::u16string& table_name) {
  if (!file_) return std::make_unique<EsedbLongValueSource>();
  std::lock_guard<std::mutex> lock(mutex_);
  auto found = readers_.find(table_name);
  if (found == readers_.end()) {
    std::shared_ptr<LongValueReader> reader;
    if (const CatalogTable* table = catalog_.FindTable(table_name)) {
      TreeShape shape{table->long_value_root_page, table->long_value_object_id, kPageFlagLongValue};
      reader = std::make_shared<LongValueReader>(file_, Utf16ToUtf8(table_name), shape, reporter_);
    } else {
      Tell("Long values of table " + Utf16ToUtf8(table_name) + " are read through libesedb (not in the catalog)");
    }
    found = readers_.emplace(table_name, std::move(reader)).first;
  }
  if (!found->second) return std::make_unique<EsedbLongValueSource>();
  return std::make_unique<FastLongValueSource>(found->second);
}

int FastLongValueProvider::ColumnCodePage(const std::u16string& table_name,
                                          const std::u16string& column_name) const {
  const CatalogTable* table = catalog_.FindTable(table_name);
  if (table == nullptr) return 0;
  const CatalogColumn* column = catalog_.FindColumn(*table, column_name);
  return column != nullptr ? static_cast<int>(column->code_page) : 0;
}

void FastLongValueProvider::Tell(const std::string& text) {
  if (notice_) notice_(text);
}

}  // namespace edb
