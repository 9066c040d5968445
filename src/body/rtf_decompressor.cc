// LZFu decoding. The output buffer starts with a copy of the dictionary as it
// stands before the first token, laid out so that dictionary position p is
// the byte at buffer index v with v % 4096 == p. A reference then reads the
// bytes `distance` behind the write index, and the 4096-byte ring is never
// kept apart from the output.
#include "body/rtf_decompressor.h"

#include <algorithm>
#include <cstring>

#include "body/lzfu_format.h"

namespace edb {
namespace {

constexpr size_t kRing = kLzfuDictionarySize;
// Index of the first output byte: position 207 of the second ring copy.
constexpr size_t kPrefix = kRing + kLzfuInitialDictionary.size();
// Room kept after the write index, so a token never needs a bounds check.
constexpr size_t kSlack = kLzfuMaxReferenceLength;

// The most a stream of `input` bytes after its header can decode to: every
// 17 input bytes (a control byte and eight references) give 136 bytes.
size_t MaxOutput(size_t input) { return input / 17 * 136 + 136; }

class LzfuDecoder {
 public:
  LzfuDecoder(std::span<const uint8_t> input, uint32_t raw_size) : input_(input) {
    bound_ = kPrefix + MaxOutput(input.size()) + kSlack;
    buffer_.resize(std::min<size_t>(kPrefix + static_cast<size_t>(raw_size) + kSlack + 64, bound_));
    std::memcpy(buffer_.data(), kLzfuInitialDictionary.data(), kLzfuInitialDictionary.size());
    std::memcpy(buffer_.data() + kRing, kLzfuInitialDictionary.data(), kLzfuInitialDictionary.size());
  }

  // Decodes every token; true when the end-of-stream reference was reached.
  bool Run() {
    const uint8_t* in = input_.data();
    size_t end = input_.size();
    size_t q = 0;
    size_t v = kPrefix;
    while (q < end) {
      unsigned control = in[q++];
      for (int bit = 0; bit < 8; ++bit, control >>= 1) {
        if (q >= end) break;
        if (v + kSlack > buffer_.size()) Grow(v);
        uint8_t* out = reinterpret_cast<uint8_t*>(buffer_.data());
        if ((control & 1) == 0) {
          out[v++] = in[q++];
          continue;
        }
        if (q + 1 >= end) {
          q = end;
          break;
        }
        unsigned word = static_cast<unsigned>(in[q]) << 8 | in[q + 1];
        q += 2;
        size_t offset = word >> 4;
        size_t length = (word & 0x0F) + 2;
        size_t distance = (v - offset) & (kRing - 1);
        if (distance == 0) {
          written_ = v - kPrefix;
          return true;
        }
        const uint8_t* from = out + v - distance;
        if (distance >= length) {
          std::memcpy(out + v, from, length);
        } else {
          for (size_t j = 0; j < length; ++j) out[v + j] = from[j];
        }
        v += length;
      }
    }
    written_ = v - kPrefix;
    return false;
  }

  std::string TakeOutput() {
    buffer_.resize(kPrefix + written_);
    buffer_.erase(0, kPrefix);
    return std::move(buffer_);
  }

 private:
  void Grow(size_t v) { buffer_.resize(std::min(std::max(buffer_.size() * 2, v + kSlack), bound_)); }

  std::span<const uint8_t> input_;
  std::string buffer_;
  size_t bound_ = 0;
  size_t written_ = 0;
};

}  // namespace

std::string DecompressedRtf::Problem() const {
  std::string problem;
  auto add = [&](const std::string& what) { problem += (problem.empty() ? "" : "; ") + what; };
  if (!header_ok) add("compressed RTF header missing or of unknown type");
  if (!crc_ok) add("compressed RTF checksum mismatch");
  if (!complete) add("compressed RTF stream ends early");
  if (rtf.size() != raw_size)
    add("compressed RTF holds " + std::to_string(rtf.size()) + " bytes, header says " + std::to_string(raw_size));
  return problem;
}

DecompressedRtf DecompressRtf(std::span<const uint8_t> stream) {
  DecompressedRtf result;
  LzfuHeader header;
  if (!ReadLzfuHeader(stream, &header)) return result;
  result.raw_size = header.raw_size;
  size_t declared_end = static_cast<size_t>(header.compressed_size) + 4;
  size_t end = std::max(kLzfuHeaderSize, std::min(stream.size(), declared_end));
  std::span<const uint8_t> body = stream.subspan(kLzfuHeaderSize, end - kLzfuHeaderSize);

  if (header.type == kLzfuUncompressed) {
    result.header_ok = true;
    result.crc_ok = true;
    size_t available = stream.size() - kLzfuHeaderSize;
    size_t take = std::min<size_t>(header.raw_size, available);
    result.rtf.assign(reinterpret_cast<const char*>(stream.data()) + kLzfuHeaderSize, take);
    result.complete = take == header.raw_size;
    return result;
  }

  result.header_ok = header.type == kLzfuCompressed;
  result.crc_ok = LzfuCrc(body) == header.crc && declared_end <= stream.size();
  LzfuDecoder decoder(body, header.raw_size);
  result.complete = decoder.Run();
  result.rtf = decoder.TakeOutput();
  return result;
}

}  // namespace edb
