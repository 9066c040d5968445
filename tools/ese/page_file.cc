// Page file I/O through POSIX positioned writes.
#include "ese/page_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

namespace esewriter {
namespace {

[[noreturn]] void ThrowIoError(const std::string& what) {
  throw std::runtime_error(what + ": " + std::strerror(errno));
}

}  // namespace

PageFile::PageFile(const std::filesystem::path& path, uint32_t page_size, uint32_t first_free_page)
    : page_size_(page_size), next_page_(first_free_page) {
  fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd_ < 0) ThrowIoError("cannot create " + path.string());
}

PageFile::~PageFile() {
  if (fd_ >= 0) ::close(fd_);
}

uint32_t PageFile::Allocate() { return next_page_++; }

void PageFile::WriteAt(uint64_t offset, std::span<const uint8_t> bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::pwrite(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
    if (n < 0) {
      if (errno == EINTR) continue;
      ThrowIoError("cannot write database page");
    }
    done += static_cast<size_t>(n);
  }
}

void PageFile::WritePage(uint32_t page_number, std::span<const uint8_t> page) {
  WriteAt((static_cast<uint64_t>(page_number) + 1) * page_size_, page);
}

void PageFile::WriteHeader(std::span<const uint8_t> header_page) {
  WriteAt(0, header_page);
  WriteAt(page_size_, header_page);
}

void PageFile::Close() {
  if (fd_ < 0) return;
  const int fd = fd_;
  fd_ = -1;
  // Every page up to the last handed out belongs to the file, written or not.
  const off_t size = static_cast<off_t>((static_cast<uint64_t>(next_page_) + 1) * page_size_);
  if (::ftruncate(fd, size) != 0) {
    ::close(fd);
    ThrowIoError("cannot size the database file");
  }
  if (::close(fd) != 0) ThrowIoError("cannot close the database file");
}

PooledAllocator::PooledAllocator(std::vector<uint32_t> pool, PageAllocator* fallback)
    : pool_(std::move(pool)), fallback_(fallback) {}

uint32_t PooledAllocator::Allocate() {
  if (next_ < pool_.size()) return pool_[next_++];
  return fallback_->Allocate();
}

std::span<const uint32_t> PooledAllocator::unused() const { return std::span<const uint32_t>(pool_).subspan(next_); }

}  // namespace esewriter
