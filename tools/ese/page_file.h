// The database file as a sequence of pages: hands out page numbers, writes
// finished pages at their place and keeps the database time, which grows by
// one with every page written.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace esewriter {

// Source of page numbers for a tree under construction.
class PageAllocator {
 public:
  virtual ~PageAllocator() = default;
  virtual uint32_t Allocate() = 0;
};

class PageFile : public PageAllocator {
 public:
  // Creates (or truncates) `path`; page numbers below `first_free_page` are
  // kept for the caller. Throws std::runtime_error when it cannot.
  PageFile(const std::filesystem::path& path, uint32_t page_size, uint32_t first_free_page);
  ~PageFile() override;
  PageFile(const PageFile&) = delete;
  PageFile& operator=(const PageFile&) = delete;

  uint32_t page_size() const { return page_size_; }
  // The next page number after every one handed out so far.
  uint32_t Allocate() override;
  uint32_t last_page() const { return next_page_ - 1; }

  // The time stamp for the next page written.
  uint64_t NextDatabaseTime() { return ++database_time_; }
  uint64_t database_time() const { return database_time_; }

  // Writes a sealed page; page n lives at file offset (n + 1) * page_size,
  // after the header and its shadow. Throws std::runtime_error on failure.
  void WritePage(uint32_t page_number, std::span<const uint8_t> page);
  // Writes the file header and its shadow copy.
  void WriteHeader(std::span<const uint8_t> header_page);
  // Flushes and closes the file. Throws std::runtime_error on failure.
  void Close();

 private:
  void WriteAt(uint64_t offset, std::span<const uint8_t> bytes);

  int fd_ = -1;
  uint32_t page_size_;
  uint32_t next_page_;
  uint64_t database_time_ = 0;
};

// Hands out pages from a fixed pool first, then from `fallback`.
class PooledAllocator : public PageAllocator {
 public:
  PooledAllocator(std::vector<uint32_t> pool, PageAllocator* fallback);
  uint32_t Allocate() override;
  // Pool pages nobody asked for, in ascending order.
  std::span<const uint32_t> unused() const;

 private:
  std::vector<uint32_t> pool_;
  size_t next_ = 0;
  PageAllocator* fallback_;
};

}  // namespace esewriter
