// Long values written to files of the temporary folder.
#include "store/long_value_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "ese/decompress_7bit.h"
#include "store/table_walk.h"
#include "store/record_value.h"
#include "store/value_text.h"

namespace edb {
namespace {

// A file descriptor closed on every path.
class OutputFile {
 public:
  // Creates `path`, which must not exist yet, readable by the owner only.
  explicit OutputFile(const std::filesystem::path& path)
      : fd_(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600)) {}
  ~OutputFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  bool is_open() const { return fd_ >= 0; }

  bool Write(const std::vector<uint8_t>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
      ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      done += static_cast<size_t>(n);
    }
    return true;
  }

 private:
  int fd_;
};

Status ReadAsText(const RecordRef& record, int column) {
  if (!ValueText(record, column, std::u16string())) return Status::Corruption("the value cannot be read");
  return Status::Ok();
}

Status ExpandCompressed(const RecordValue& value) {
  if (value.column_type != ese::column_type::kLongText || value.data.empty()) return Status::Ok();
  if (!Decompress7Bit(value.data)) return Status::Corruption("the compressed text cannot be expanded");
  return Status::Ok();
}

Status WriteLongValue(const RecordRef& record, int column, const std::u16string& file_name,
                      PrivateTempFolder& folder, StoreEvents& events, std::filesystem::path* written) {
  Result<std::unique_ptr<ese::LongValue>> opened = record.record->OpenLongValue(column);
  if (!opened.ok()) return Status::Corruption("the long value cannot be opened: " + opened.status().reason());
  ese::LongValue& segments = **opened;
  const std::filesystem::path path = folder.UniqueFilePath(file_name);
  OutputFile file(path);
  if (!file.is_open()) return Status::IoError("cannot create " + path.string() + ": " + std::strerror(errno));
  if (written != nullptr) *written = path;
  ProgressSweep progress;
  std::vector<uint8_t> segment;
  for (int i = 0; i < segments.segment_count(); ++i) {
    progress.Step(events);
    if (Status read = segments.ReadSegment(i, &segment); !read.ok()) {
      return Status::Corruption("segment " + std::to_string(i) + " of the long value cannot be read: " +
                                read.reason());
    }
    if (!file.Write(segment)) return Status::IoError("cannot write " + path.string() + ": " + std::strerror(errno));
  }
  return Status::Ok();
}

}  // namespace

Status WriteLongValueFile(const RecordRef& record, int column, const std::u16string& file_name,
                          PrivateTempFolder& folder, StoreEvents& events, std::filesystem::path* written) {
  RecordValue value;
  if (!ReadRecordValue(record, column, &value)) return Status::Corruption("the value cannot be read");
  const uint8_t flags = value.flags;
  if (flags <= ese::value_flag::kVariableSize) return ReadAsText(record, column);
  if (flags & ese::value_flag::kCompressed) return ExpandCompressed(value);
  if (flags & ese::value_flag::kLongValue) return WriteLongValue(record, column, file_name, folder, events, written);
  if ((flags & ese::value_flag::kMultiValue) && !(flags & ese::value_flag::kMultiValueSizes)) {
    return ReadAsText(record, column);
  }
  return Status::Ok();
}

}  // namespace edb
