// File header of a cleanly shut down database. Timestamps and signatures are
// fixed so that the same input always gives the same file.
#include "ese/file_header.h"

#include <cstring>

#include "ese/byte_order.h"
#include "ese/page_checksum.h"

namespace esewriter {
namespace {

constexpr uint32_t kSignature = 0x89abcdefu;
constexpr uint32_t kFileTypeDatabase = 0;
constexpr uint32_t kStateCleanShutdown = 3;

// Offsets of the header fields we fill.
constexpr size_t kSignatureOffset = 4;
constexpr size_t kFormatVersionOffset = 8;
constexpr size_t kFileTypeOffset = 12;
constexpr size_t kDatabaseTimeOffset = 16;
constexpr size_t kDatabaseSignatureOffset = 24;
constexpr size_t kStateOffset = 52;
constexpr size_t kConsistentPositionOffset = 56;
constexpr size_t kConsistentTimeOffset = 64;
constexpr size_t kAttachTimeOffset = 72;
constexpr size_t kAttachPositionOffset = 80;
constexpr size_t kDetachTimeOffset = 88;
constexpr size_t kDetachPositionOffset = 96;
constexpr size_t kDbidOffset = 104;
constexpr size_t kLogSignatureOffset = 108;
constexpr size_t kLastObjectIdOffset = 212;
constexpr size_t kOsMajorOffset = 216;
constexpr size_t kOsMinorOffset = 220;
constexpr size_t kOsBuildOffset = 224;
constexpr size_t kOsServicePackOffset = 228;
constexpr size_t kFormatRevisionOffset = 232;
constexpr size_t kPageSizeOffset = 236;
constexpr size_t kCreationVersionOffset = 340;
constexpr size_t kCreationRevisionOffset = 344;

// A log time (seconds, minutes, hours, day, month, years since 1900, two
// filler bytes): 1 March 2007, 12:00:00.
void StoreLogTime(uint8_t* p, uint8_t seconds) {
  const uint8_t time[8] = {seconds, 0, 12, 1, 3, 107, 0, 0};
  std::memcpy(p, time, sizeof time);
}

// A log position: block, sector, generation.
void StoreLogPosition(uint8_t* p, uint16_t sector, uint32_t generation) {
  StoreLe16(p, 0);
  StoreLe16(p + 2, sector);
  StoreLe32(p + 4, generation);
}

}  // namespace

std::vector<uint8_t> BuildFileHeaderPage(const FileHeaderFields& fields) {
  std::vector<uint8_t> page(fields.format.page_size, 0);
  uint8_t* p = page.data();
  StoreLe32(p + kSignatureOffset, kSignature);
  StoreLe32(p + kFormatVersionOffset, kFormatVersion);
  StoreLe32(p + kFileTypeOffset, kFileTypeDatabase);
  StoreLe64(p + kDatabaseTimeOffset, fields.database_time);

  // Database signature: a random number, the creation time and an empty
  // computer name.
  StoreLe32(p + kDatabaseSignatureOffset, 0x2f4e8d31u);
  StoreLogTime(p + kDatabaseSignatureOffset + 4, 0);

  StoreLe32(p + kStateOffset, kStateCleanShutdown);
  // A clean database was last detached at its consistent position and time.
  StoreLogPosition(p + kConsistentPositionOffset, 0x16, 1);
  StoreLogTime(p + kConsistentTimeOffset, 2);
  StoreLogTime(p + kAttachTimeOffset, 1);
  StoreLogPosition(p + kAttachPositionOffset, 0x14, 1);
  StoreLogTime(p + kDetachTimeOffset, 2);
  StoreLogPosition(p + kDetachPositionOffset, 0x16, 1);
  StoreLe32(p + kDbidOffset, 1);
  StoreLe32(p + kLogSignatureOffset, 0x5a17c3e9u);
  StoreLogTime(p + kLogSignatureOffset + 4, 0);

  StoreLe32(p + kLastObjectIdOffset, fields.last_object_id);
  // Windows Server 2003 SP2, where Exchange 2003 and 2007 ran.
  StoreLe32(p + kOsMajorOffset, 5);
  StoreLe32(p + kOsMinorOffset, 2);
  StoreLe32(p + kOsBuildOffset, 3790);
  StoreLe32(p + kOsServicePackOffset, 2);
  StoreLe32(p + kFormatRevisionOffset, fields.format.revision);
  StoreLe32(p + kPageSizeOffset, fields.format.page_size);
  StoreLe32(p + kCreationVersionOffset, kFormatVersion);
  StoreLe32(p + kCreationRevisionOffset, fields.format.revision);

  StampHeaderChecksum(page);
  return page;
}

}  // namespace esewriter
