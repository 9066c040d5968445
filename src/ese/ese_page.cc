// Page-level access to an ESE database file: header, page reads, page parsing.
#include "ese/ese_page.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace edb {
namespace {

constexpr uint32_t kHeaderSignature = 0x89abcdef;
constexpr size_t kHeaderChecksummedSize = 668;
constexpr uint32_t kFormatVersion = 0x620;
constexpr uint32_t kOldestKnownRevision = 0x0b;
constexpr uint32_t kNewestKnownRevision = 0x14;
constexpr uint32_t kPageHeaderSize = 40;

std::string Hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%x", value);
  return text;
}

// XOR of the little-endian 32-bit words of `bytes` from offset `from` (a
// multiple of 4) on, starting from `seed`. Eight bytes at a time: the XOR of
// two words is the XOR of the halves of their 64-bit XOR.
uint32_t XorWords(std::span<const uint8_t> bytes, size_t from, uint32_t seed) {
  const uint8_t* p = bytes.data();
  size_t size = bytes.size() & ~size_t{3};
  size_t i = from;
  uint32_t sum = seed;
  if (i % 8 != 0 && i + 4 <= size) {
    sum ^= LoadLe32(p + i);
    i += 4;
  }
  uint64_t wide = 0;
  for (; i + 8 <= size; i += 8) {
    uint64_t word;
    std::memcpy(&word, p + i, 8);
    wide ^= word;
  }
  uint32_t folded = static_cast<uint32_t>(wide) ^ static_cast<uint32_t>(wide >> 32);
  if constexpr (std::endian::native == std::endian::big) folded = __builtin_bswap32(folded);
  sum ^= folded;
  if (i + 4 <= size) sum ^= LoadLe32(p + i);
  return sum;
}

bool PreadFully(int fd, uint64_t offset, size_t size, uint8_t* out, std::string* error) {
  size_t done = 0;
  while (done < size) {
    ssize_t n = pread(fd, out + done, size - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      *error = n < 0 ? std::string("read failed: ") + std::strerror(errno) : "read past the end of the file";
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

bool ParseFileHeader(std::span<const uint8_t> bytes, EseFileHeader* header, std::string* error) {
  if (bytes.size() < kHeaderChecksummedSize) {
    *error = "file too small for a database header";
    return false;
  }
  if (LoadLe32(bytes.data() + 4) != kHeaderSignature) {
    *error = "no database signature";
    return false;
  }
  uint32_t stored = LoadLe32(bytes.data());
  if (XorWords(bytes.first(kHeaderChecksummedSize), 4, kHeaderSignature) != stored) {
    *error = "database header checksum mismatch";
    return false;
  }
  header->format_version = LoadLe32(bytes.data() + 8);
  header->format_revision = LoadLe32(bytes.data() + 232);
  header->page_size = LoadLe32(bytes.data() + 236);
  uint32_t size = header->page_size;
  if (size < 2048 || size > 32768 || (size & (size - 1)) != 0) {
    *error = "unusable page size " + std::to_string(size);
    return false;
  }
  return true;
}

bool IsKnownPageLayout(const EseFileHeader& header, std::string* why) {
  if (header.format_version != kFormatVersion) {
    *why = "format version " + Hex(header.format_version);
    return false;
  }
  if (header.format_revision < kOldestKnownRevision || header.format_revision > kNewestKnownRevision) {
    *why = "format revision " + Hex(header.format_revision);
    return false;
  }
  if (header.page_size != 4096 && header.page_size != 8192) {
    *why = "page size " + std::to_string(header.page_size);
    return false;
  }
  return true;
}

std::unique_ptr<EseFile> EseFile::Open(const std::string& path, std::string* error) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    *error = "cannot open " + path + ": " + std::strerror(errno);
    return nullptr;
  }
  // Owns the descriptor until the EseFile does.
  std::unique_ptr<int, void (*)(int*)> guard(&fd, [](int* f) { ::close(*f); });
  struct stat info;
  if (fstat(fd, &info) != 0) {
    *error = std::string("cannot stat database: ") + std::strerror(errno);
    return nullptr;
  }
  std::vector<uint8_t> first(kHeaderChecksummedSize);
  if (static_cast<uint64_t>(info.st_size) < first.size()) {
    *error = "file too small for a database header";
    return nullptr;
  }
  if (!PreadFully(fd, 0, first.size(), first.data(), error)) return nullptr;
  EseFileHeader header;
  if (!ParseFileHeader(first, &header, error)) return nullptr;
  guard.release();
  return std::unique_ptr<EseFile>(new EseFile(fd, header, static_cast<uint64_t>(info.st_size)));
}

EseFile::EseFile(int fd, EseFileHeader header, uint64_t file_size)
    : fd_(fd), header_(header), file_size_(file_size) {
  uint64_t pages = file_size_ / header_.page_size;
  page_count_ = pages < 2 ? 0 : static_cast<uint32_t>(std::min<uint64_t>(pages - 1, UINT32_MAX));
}

EseFile::~EseFile() { ::close(fd_); }

bool EseFile::ReadPage(uint32_t page, std::vector<uint8_t>* buffer, std::string* error) const {
  if (page == 0 || page > page_count_) {
    *error = "page " + std::to_string(page) + " lies outside the file";
    return false;
  }
  buffer->resize(header_.page_size);
  return ReadAt(PageOffset(page), header_.page_size, buffer->data(), error);
}

bool EseFile::ReadAt(uint64_t offset, size_t size, uint8_t* out, std::string* error) const {
  if (offset > file_size_ || size > file_size_ - offset) {
    *error = "range lies outside the file";
    return false;
  }
  return PreadFully(fd_, offset, size, out, error);
}

bool VerifyPageChecksum(std::span<const uint8_t> page, uint32_t page_number, const EseFileHeader& header,
                        std::string* error) {
  if (page.size() < kPageHeaderSize) {
    *error = "short page";
    return false;
  }
  uint32_t stored = LoadLe32(page.data());
  if (stored == 0) return true;
  uint32_t flags = LoadLe32(page.data() + 36);
  bool new_format = header.format_revision >= 0x0b && (flags & kPageFlagNewFormat) != 0;
  uint32_t computed;
  if (new_format) {
    computed = XorWords(page, 8, page_number);
  } else {
    if (LoadLe32(page.data() + 4) != page_number) {
      *error = "page holds the number of page " + std::to_string(LoadLe32(page.data() + 4));
      return false;
    }
    computed = XorWords(page, 4, kHeaderSignature);
  }
  if (computed != stored) {
    *error = "page checksum mismatch";
    return false;
  }
  return true;
}

bool PageView::Parse(std::span<const uint8_t> page, uint32_t page_number, const EseFileHeader& header,
                     std::string* error) {
  tags_.clear();
  if (page.size() != header.page_size || page.size() < kPageHeaderSize) {
    *error = "short page";
    return false;
  }
  if (!VerifyPageChecksum(page, page_number, header, error)) return false;
  page_ = page;
  number_ = page_number;
  previous_ = LoadLe32(page.data() + 16);
  next_ = LoadLe32(page.data() + 20);
  object_id_ = LoadLe32(page.data() + 24);
  flags_ = LoadLe32(page.data() + 36);
  header_size_ = kPageHeaderSize;
  uint16_t tag_count = LoadLe16(page.data() + 34);
  // Tags sit at the end of the page, four bytes each, back to front; the
  // values area runs from the header to the first tag.
  size_t tags_size = size_t{tag_count} * 4;
  if (tags_size > page.size() - header_size_) {
    *error = "tag count " + std::to_string(tag_count) + " does not fit the page";
    return false;
  }
  size_t values_size = page.size() - header_size_ - tags_size;
  tags_.reserve(tag_count);
  for (size_t i = 0; i < tag_count; ++i) {
    const uint8_t* entry = page.data() + page.size() - 4 * (i + 1);
    uint16_t size_word = LoadLe16(entry);
    uint16_t offset_word = LoadLe16(entry + 2);
    Tag tag{static_cast<uint16_t>(offset_word & 0x1fff), static_cast<uint16_t>(size_word & 0x1fff),
            static_cast<uint8_t>(offset_word >> 13)};
    if (tag.size > 0 && (tag.offset >= values_size || tag.size > values_size - tag.offset)) {
      *error = "tag " + std::to_string(i) + " points outside the page";
      tags_.clear();
      return false;
    }
    tags_.push_back(tag);
  }
  return true;
}

std::span<const uint8_t> PageView::TagData(int index) const {
  const Tag& tag = tags_[index];
  return page_.subspan(header_size_ + tag.offset, tag.size);
}

}  // namespace edb
