// Page and header checksums. The ECC code is built from the parity of each
// 16-byte row of the page (one code bit pattern per row), the parities of
// combinations of the four 32-bit columns, and the positions of the set bits
// in the XOR of all words; see ComputePageChecksums.
#include "ese/page_checksum.h"

#include <bit>

#include "ese/byte_order.h"

namespace esewriter {
namespace {

uint32_t Parity(uint32_t word) { return static_cast<uint32_t>(std::popcount(word) & 1); }

}  // namespace

PageChecksums ComputePageChecksums(std::span<const uint8_t> page, uint32_t page_number) {
  const size_t size = page.size();
  uint32_t column[4] = {0, 0, 0, 0};
  uint32_t ecc = 0;
  uint32_t row_code = 0xff800000u;  // code of the current 16-byte row
  uint32_t row_xor = 0;
  for (size_t offset = 8; offset + 4 <= size; offset += 4) {
    const uint32_t word = LoadLe32(page.data() + offset);
    const size_t column_index = (offset / 4) % 4;
    column[column_index] ^= word;
    row_xor ^= word;
    if (column_index == 3) {
      if (Parity(row_xor)) ecc ^= row_code;
      row_code -= 0x007fff80u;
      row_xor = 0;
    }
  }
  if (row_xor != 0 && Parity(row_xor)) ecc ^= row_code;

  if (Parity(column[0] ^ column[1])) ecc ^= 0x00400000u;
  if (Parity(column[0] ^ column[2])) ecc ^= 0x00200000u;
  if (Parity(column[1] ^ column[3])) ecc ^= 0x00000020u;
  if (Parity(column[2] ^ column[3])) ecc ^= 0x00000040u;

  const uint32_t all = column[0] ^ column[1] ^ column[2] ^ column[3];
  uint32_t bit_code = 0;
  uint32_t code = 0xffff0000u;
  for (int bit = 0; bit < 32; ++bit) {
    if (all & (1u << bit)) bit_code ^= code;
    code -= 0x0000ffffu;
  }
  if (size < 8192) ecc &= ~static_cast<uint32_t>(size << 19);
  ecc ^= (ecc ^ bit_code) & 0x001f001fu;
  return {page_number ^ all, ecc};
}

void StampPageChecksums(std::span<uint8_t> page, uint32_t page_number) {
  const PageChecksums sums = ComputePageChecksums(page, page_number);
  StoreLe32(page.data(), sums.xor32);
  StoreLe32(page.data() + 4, sums.ecc32);
}

uint32_t ComputeHeaderChecksum(std::span<const uint8_t> header) {
  uint32_t sum = 0x89abcdefu;
  for (size_t offset = 4; offset + 4 <= header.size(); offset += 4) sum ^= LoadLe32(header.data() + offset);
  return sum;
}

void StampHeaderChecksum(std::span<uint8_t> header) { StoreLe32(header.data(), ComputeHeaderChecksum(header)); }

}  // namespace esewriter
