// Page-level access to an ESE database file for the store reader's own
// readers: the file header, reading pages through a read-only descriptor,
// and checked parsing of one page (header, tags, checksum). Nothing here
// trusts the file: every offset and size is checked before it is used.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace edb {

// The facts of a database's file header that page parsing depends on.
struct EseFileHeader {
  uint32_t format_version = 0;
  uint32_t format_revision = 0;
  uint32_t page_size = 0;
};

// Parses the header at the start of a database file (`bytes` holds at least
// its first 668 bytes). False, with `error` set, when the signature or the
// header checksum is wrong or the page size is not a power of two between
// 2 KiB and 32 KiB.
bool ParseFileHeader(std::span<const uint8_t> bytes, EseFileHeader* header, std::string* error);

// True when the page layout of `header` is one these readers know: format
// 0x620, revision 0x0b to 0x14 (Exchange 2003 SP1 to Windows 10), pages of
// 4 or 8 KiB. Otherwise false with `why` set.
bool IsKnownPageLayout(const EseFileHeader& header, std::string* why);

// A database file opened read-only. Page n lies at file offset
// (n + 1) * page size; pages 1 to page_count() exist.
class EseFile {
 public:
  // Opens `path` read-only and reads its header. Null, with `error` set,
  // when the file cannot be opened or its header is unusable.
  static std::unique_ptr<EseFile> Open(const std::string& path, std::string* error);
  ~EseFile();
  EseFile(const EseFile&) = delete;
  EseFile& operator=(const EseFile&) = delete;

  const EseFileHeader& header() const { return header_; }
  uint32_t page_size() const { return header_.page_size; }
  uint32_t page_count() const { return page_count_; }
  uint64_t file_size() const { return file_size_; }
  uint64_t PageOffset(uint32_t page) const { return (uint64_t{page} + 1) * header_.page_size; }

  // Reads page `page` into `buffer` (resized to the page size). False, with
  // `error` set, when the page is outside the file or the read falls short.
  bool ReadPage(uint32_t page, std::vector<uint8_t>* buffer, std::string* error) const;

  // Reads `size` bytes at file offset `offset` into `out`. False, with
  // `error` set, when the range leaves the file or the read falls short.
  bool ReadAt(uint64_t offset, size_t size, uint8_t* out, std::string* error) const;

 private:
  EseFile(int fd, EseFileHeader header, uint64_t file_size);
  int fd_;
  EseFileHeader header_;
  uint64_t file_size_;
  uint32_t page_count_;
};

// Page flags this reader looks at.
inline constexpr uint32_t kPageFlagRoot = 0x0001;
inline constexpr uint32_t kPageFlagLeaf = 0x0002;
inline constexpr uint32_t kPageFlagParentOfLeaf = 0x0004;
inline constexpr uint32_t kPageFlagEmpty = 0x0008;
inline constexpr uint32_t kPageFlagSpaceTree = 0x0020;
inline constexpr uint32_t kPageFlagIndex = 0x0040;
inline constexpr uint32_t kPageFlagLongValue = 0x0080;
inline constexpr uint32_t kPageFlagNewFormat = 0x2000;

// Page tag flags.
inline constexpr uint8_t kTagFlagDefunct = 0x02;
inline constexpr uint8_t kTagFlagCommonKey = 0x04;

// One parsed page, viewing a buffer the caller keeps alive.
class PageView {
 public:
  // Parses `page` (exactly one page of `header`'s size) read from page
  // number `page_number`. Checks the checksum and that every tag lies inside
  // the page's value area. False, with `error` set, on any damage.
  bool Parse(std::span<const uint8_t> page, uint32_t page_number, const EseFileHeader& header,
             std::string* error);

  uint32_t number() const { return number_; }
  uint32_t flags() const { return flags_; }
  uint32_t previous_page() const { return previous_; }
  uint32_t next_page() const { return next_; }
  uint32_t object_id() const { return object_id_; }
  bool is_root() const { return (flags_ & kPageFlagRoot) != 0; }
  bool is_leaf() const { return (flags_ & kPageFlagLeaf) != 0; }

  int tag_count() const { return static_cast<int>(tags_.size()); }
  // The bytes of tag `index` (0 <= index < tag_count()).
  std::span<const uint8_t> TagData(int index) const;
  uint8_t TagFlags(int index) const { return tags_[index].flags; }
  // Offset of tag `index`'s first byte from the start of the page.
  uint32_t TagOffsetInPage(int index) const { return header_size_ + tags_[index].offset; }

 private:
  struct Tag {
    uint16_t offset;
    uint16_t size;
    uint8_t flags;
  };
  std::span<const uint8_t> page_;
  uint32_t number_ = 0;
  uint32_t flags_ = 0;
  uint32_t previous_ = 0;
  uint32_t next_ = 0;
  uint32_t object_id_ = 0;
  uint32_t header_size_ = 40;
  std::vector<Tag> tags_;
};

// Checks the XOR checksum of `page` (page number `page_number`). An
// all-zero first word (a page never written) passes. False, with `error`
// set, on a mismatch.
bool VerifyPageChecksum(std::span<const uint8_t> page, uint32_t page_number, const EseFileHeader& header,
                        std::string* error);

// Little-endian reads from a byte span; the caller has checked the bounds.
inline uint16_t LoadLe16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t LoadLe32(const uint8_t* p) {
  return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

}  // namespace edb
