// Long values read through libesedb's own long-value functions.
#include "ese/esedb_handles.h"
#include "ese/long_value_source.h"

namespace edb {
namespace {

class EsedbSegments : public LongValueSegments {
 public:
  EsedbSegments(EsedbLongValue value, int count) : value_(std::move(value)), count_(count) {}

  int count() const override { return count_; }

  bool Segment(int index, std::vector<uint8_t>* data, std::string* error) override {
    EsedbError e;
    size_t size = 0;
    if (libesedb_long_value_get_data_segment_size(value_.get(), index, &size, e.slot()) != 1) {
      *error = e.Message();
      return false;
    }
    data->resize(size);
    if (size > 0 && libesedb_long_value_get_data_segment(value_.get(), index, data->data(), size, e.slot()) != 1) {
      *error = e.Message();
      return false;
    }
    return true;
  }

 private:
  EsedbLongValue value_;
  int count_;
};

}  // namespace

std::unique_ptr<LongValueSegments> EsedbLongValueSource::Open(libesedb_record_t* record, int value,
                                                              std::string* error) {
  EsedbError e;
  libesedb_long_value_t* raw = nullptr;
  int found = libesedb_record_get_long_value(record, value, &raw, e.slot());
  if (found != 1 || raw == nullptr) {
    *error = found == 0 ? "no long value" : e.Message();
    return nullptr;
  }
  EsedbLongValue owned(raw);
  int count = 0;
  if (libesedb_long_value_get_number_of_data_segments(owned.get(), &count, e.slot()) != 1) {
    *error = e.Message();
    return nullptr;
  }
  return std::make_unique<EsedbSegments>(std::move(owned), count);
}

}  // namespace edb
