// Expands a compressed RTF stream (an item's "N1009" column) into RTF text.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace edb {

// The RTF a stream holds and how sound the stream was.
struct DecompressedRtf {
  std::string rtf;            // the decoded RTF bytes
  bool header_ok = false;     // 16-byte header present, of type LZFu or MELA
  bool crc_ok = false;        // stored checksum matches (MELA streams carry none)
  bool complete = false;      // LZFu: end-of-stream reference reached; MELA: all raw bytes present
  uint32_t raw_size = 0;      // the size the header claims for the RTF

  // True when nothing was wrong with the stream.
  bool intact() const { return header_ok && crc_ok && complete && rtf.size() == raw_size; }
  // "" when intact(); otherwise what was wrong, for a corruption report.
  std::string Problem() const;
};

// Decodes `stream` (header included). LZFu streams are decoded up to their
// end-of-stream reference, or to the end of the input (bounded by the
// compressed size the header gives) when that reference is missing; MELA
// streams are copied. A stream of unknown type is decoded as LZFu. Damaged
// streams yield whatever their tokens decode to; the problems show in the
// result's flags. Memory use is bounded by what the input can expand to,
// whatever raw size the header claims.
DecompressedRtf DecompressRtf(std::span<const uint8_t> stream);

}  // namespace edb
