// Temporary file, then moved under the final name: complete or absent,
// never overwriting.
#include "export/new_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace edb {
namespace {

std::string Reason(const std::filesystem::path& path, const char* what, int error) {
  return path.string() + ": " + what + ": " + std::strerror(error);
}

// A temporary name no other writer of this process or another one uses.
std::filesystem::path TemporaryName(const std::filesystem::path& directory, const std::filesystem::path& path) {
  static std::atomic<unsigned long> counter{0};
  std::string stem = path.filename().string().substr(0, 100);
  return directory / (std::to_string(::getpid()) + "." + std::to_string(counter++) + "." + stem + ".part");
}

}  // namespace

Result<NewFile> NewFile::Create(const std::filesystem::path& path, const std::filesystem::path& temp_directory,
                               const PublishCalls& calls) {
  const std::filesystem::path temp = TemporaryName(temp_directory, path);
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return Status::IoError(Reason(temp, "cannot create", errno));
  return NewFile(path, temp, fd, calls);
}

NewFile::NewFile(NewFile&& other) noexcept
    : path_(std::move(other.path_)), temp_path_(std::move(other.temp_path_)), fd_(other.fd_), calls_(other.calls_) {
  other.fd_ = -1;
  other.temp_path_.clear();
}

NewFile::~NewFile() { Discard(); }

void NewFile::Discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temp_path_.empty()) ::unlink(temp_path_.c_str());
  temp_path_.clear();
}

Status NewFile::Append(std::string_view bytes) {
  if (fd_ < 0) return Status::IoError(path_.string() + ": file already closed");
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return Status::IoError(Reason(temp_path_, "cannot write", errno));
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return Status::Ok();
}

Result<NewFileOutcome> NewFile::Commit() {
  if (fd_ < 0) return Status::IoError(path_.string() + ": file already closed");
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) {
    Status failure = Status::IoError(Reason(temp_path_, "cannot write", errno));
    Discard();
    return failure;
  }
  const std::filesystem::path temp = temp_path_;
  temp_path_.clear();  // PublishWithoutReplace removes it
  return PublishWithoutReplace(temp, path_, *calls_);
}

Result<NewFileOutcome> WriteNewFile(const std::filesystem::path& path, std::string_view bytes,
                                    const std::filesystem::path& temp_directory, const PublishCalls& calls) {
  Result<NewFile> file = NewFile::Create(path, temp_directory, calls);
  if (!file) return file.status();
  if (Status status = file->Append(bytes); !status.ok()) return status;
  return file->Commit();
}

}  // namespace edb
