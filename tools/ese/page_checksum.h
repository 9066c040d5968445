// Checksums of database pages and of the file header. Pages of the engine
// generations we write carry two 32-bit checksums: an XOR of the page seeded
// with the page number, and an ECC code that lets the engine repair a single
// flipped bit. The file header carries an XOR seeded with a constant.
#pragma once

#include <cstdint>
#include <span>

namespace esewriter {

struct PageChecksums {
  uint32_t xor32 = 0;
  uint32_t ecc32 = 0;
};

// The checksums of `page` (a whole page, its size a multiple of 16 bytes)
// as page number `page_number`; the first 8 bytes, where they are stored,
// are not covered.
PageChecksums ComputePageChecksums(std::span<const uint8_t> page, uint32_t page_number);

// Computes and stores the page checksums in the first 8 bytes of `page`.
void StampPageChecksums(std::span<uint8_t> page, uint32_t page_number);

// The file header checksum: XOR of the 32-bit words from offset 4 on,
// seeded with 0x89abcdef.
uint32_t ComputeHeaderChecksum(std::span<const uint8_t> header);

// Computes and stores the header checksum in the first 4 bytes of `header`.
void StampHeaderChecksum(std::span<uint8_t> header);

}  // namespace esewriter
