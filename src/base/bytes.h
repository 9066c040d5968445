// Little- and big-endian loads and stores of fixed-size integers, for every
// layer that reads or writes on-disk structures. Callers check that the
// bytes are there; none of these checks bounds.
#pragma once

#include <cstdint>
#include <vector>

namespace edb {

inline uint16_t LoadLe16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

inline uint32_t LoadLe32(const uint8_t* p) {
  return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

inline uint64_t LoadLe64(const uint8_t* p) { return uint64_t{LoadLe32(p)} | (uint64_t{LoadLe32(p + 4)} << 32); }

inline uint32_t LoadBe32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | uint32_t{p[3]};
}

inline void StoreLe16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

inline void StoreLe32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

inline void StoreLe64(uint8_t* p, uint64_t v) {
  for (int i = 0; i < 8; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

inline void StoreBe32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (24 - 8 * i));
}

inline void AppendLe16(std::vector<uint8_t>* out, uint16_t v) {
  uint8_t b[2];
  StoreLe16(b, v);
  out->insert(out->end(), b, b + 2);
}

inline void AppendLe32(std::vector<uint8_t>* out, uint32_t v) {
  uint8_t b[4];
  StoreLe32(b, v);
  out->insert(out->end(), b, b + 4);
}

inline void AppendBe32(std::vector<uint8_t>* out, uint32_t v) {
  uint8_t b[4];
  StoreBe32(b, v);
  out->insert(out->end(), b, b + 4);
}

}  // namespace edb
