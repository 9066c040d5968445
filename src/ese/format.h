// The ESE file format, defined once for our reader and our writer
// (tools/ese): engine format version, page header and tag layout, page and
// tag flags, the fixed places of the database's system trees, and the long
// value limits. Column types and value flags are in ese/database.h.
#pragma once

#include <cstddef>
#include <cstdint>

namespace edb::ese::format {

// The engine format version every supported database carries; the revision
// tells the generation (0x0b: Exchange 2003 SP1 on, ECC page checksums;
// 0x0c: Exchange 2007 on).
inline constexpr uint32_t kFormatVersion = 0x620;

// Page layout: the header, then the data, then the tags from the page's end
// (4 bytes each); a tree's root page starts its data with a 16-byte header.
inline constexpr size_t kPageHeaderSize = 40;
inline constexpr size_t kTagSize = 4;
inline constexpr size_t kRootHeaderSize = 16;

// Page flags.
inline constexpr uint32_t kPageRoot = 0x0001;
inline constexpr uint32_t kPageLeaf = 0x0002;
inline constexpr uint32_t kPageParentOfLeaf = 0x0004;
inline constexpr uint32_t kPageEmpty = 0x0008;
inline constexpr uint32_t kPageSpaceTree = 0x0020;
inline constexpr uint32_t kPageIndex = 0x0040;
inline constexpr uint32_t kPageLongValue = 0x0080;
inline constexpr uint32_t kPageNewRecordFormat = 0x0800;
inline constexpr uint32_t kPageNewChecksumFormat = 0x2000;
inline constexpr uint32_t kPageFormatFlags = kPageNewRecordFormat | kPageNewChecksumFormat;

// Page tag flags: a defunct node; a node that starts with the size of the
// key part it shares with the page's common-key prefix.
inline constexpr uint16_t kTagDefunct = 0x2;
inline constexpr uint16_t kTagCompressedKey = 0x4;

// Fixed page numbers and object identifiers of the system trees.
inline constexpr uint32_t kDatabaseRootPage = 1;
inline constexpr uint32_t kDatabaseOwnedSpacePage = 2;
inline constexpr uint32_t kDatabaseAvailableSpacePage = 3;
inline constexpr uint32_t kCatalogRootPage = 4;
inline constexpr uint32_t kShadowCatalogRootPage = 24;
inline constexpr uint32_t kFirstFreePage = 25;
inline constexpr uint32_t kDatabaseObjid = 1;
inline constexpr uint32_t kCatalogObjid = 2;
inline constexpr uint32_t kShadowCatalogObjid = 3;
// Objids 4 and 5 belong to the catalog's secondary indexes in the engine's
// numbering; user tables start after them.
inline constexpr uint32_t kFirstUserObjid = 6;

// Long values: values up to this size stay in the record; each chunk of a
// separated value fills a page but for the engine's fixed overhead.
inline constexpr size_t kLargestIntrinsicLongValue = 1023;
inline constexpr size_t LongValueChunkSize(uint32_t page_size) { return page_size - 82; }

// The largest record the engine stores under a 4-byte key.
inline constexpr size_t LargestRecordSize(uint32_t page_size) { return page_size - 78; }

}  // namespace edb::ese::format
