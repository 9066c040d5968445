// The on-disk format the writer produces: engine format version and revision
// per page size, the page header layout, page and tag flags, and the fixed
// places of the database's system trees.
#pragma once

#include <cstddef>
#include <cstdint>

namespace esewriter {

constexpr uint32_t kFormatVersion = 0x620;

// The engine generation a page size stands for: 4 KiB pages are written as
// Exchange 2003 SP1 and later did (revision 0x0b, the first with ECC page
// checksums), 8 KiB pages as Exchange 2007 did (revision 0x0c).
struct EngineFormat {
  uint32_t page_size;
  uint32_t revision;
};

// The format for `page_size`; throws std::invalid_argument for any size but
// 4096 and 8192.
EngineFormat FormatForPageSize(uint32_t page_size);

constexpr size_t kPageHeaderSize = 40;
constexpr size_t kTagSize = 4;
constexpr size_t kRootHeaderSize = 16;

// Page flags.
constexpr uint32_t kPageRoot = 0x0001;
constexpr uint32_t kPageLeaf = 0x0002;
constexpr uint32_t kPageParentOfLeaf = 0x0004;
constexpr uint32_t kPageSpaceTree = 0x0020;
constexpr uint32_t kPageIndex = 0x0040;
constexpr uint32_t kPageLongValue = 0x0080;
constexpr uint32_t kPageNewRecordFormat = 0x0800;
constexpr uint32_t kPageNewChecksumFormat = 0x2000;
constexpr uint32_t kPageFormatFlags = kPageNewRecordFormat | kPageNewChecksumFormat;

// Page tag flag: the node starts with the size of the key part it shares
// with the page's common-key prefix.
constexpr uint16_t kTagCompressedKey = 0x4;

// Fixed page numbers and object identifiers of the system trees.
constexpr uint32_t kDatabaseRootPage = 1;
constexpr uint32_t kDatabaseOwnedSpacePage = 2;
constexpr uint32_t kDatabaseAvailableSpacePage = 3;
constexpr uint32_t kCatalogRootPage = 4;
constexpr uint32_t kShadowCatalogRootPage = 24;
constexpr uint32_t kFirstFreePage = 25;
constexpr uint32_t kDatabaseObjid = 1;
constexpr uint32_t kCatalogObjid = 2;
constexpr uint32_t kShadowCatalogObjid = 3;
// Objids 4 and 5 belong to the catalog's secondary indexes in the engine's
// numbering; user tables start after them.
constexpr uint32_t kFirstUserObjid = 6;

// Long values: values up to this size stay in the record; each chunk of a
// separated value fills a page but for the engine's fixed overhead.
constexpr size_t kLargestIntrinsicLongValue = 1023;
inline size_t LongValueChunkSize(uint32_t page_size) { return page_size - 82; }

// The largest record the engine stores under a 4-byte key.
inline size_t LargestRecordSize(uint32_t page_size) { return page_size - 78; }

}  // namespace esewriter
