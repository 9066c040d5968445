// LZFu compression for test stores. The compressor keeps the same 4096-byte
// dictionary a decoder keeps and looks for the longest match (2 to 17 bytes)
// among the dictionary positions that begin with the next two input bytes.
// A match may run into the bytes it produces, exactly as a decoder copying
// byte by byte would reproduce them.
#include "storegen/rtf_compressor.h"

#include <algorithm>
#include <array>
#include <span>

#include "body/lzfu_format.h"

namespace storegen {
namespace {

using edb::kLzfuDictionarySize;
using edb::kLzfuMaxReferenceLength;

constexpr int kMaxCandidates = 48;
constexpr size_t kMask = kLzfuDictionarySize - 1;

class LzfuEncoder {
 public:
  explicit LzfuEncoder(std::string_view input) : input_(input) {
    head_.fill(-1);
    prev_.fill(-1);
    std::copy(edb::kLzfuInitialDictionary.begin(), edb::kLzfuInitialDictionary.end(), dictionary_.begin());
    write_ = edb::kLzfuInitialDictionary.size();
    for (size_t p = 0; p + 1 < write_; ++p) Index(p);
  }

  std::vector<uint8_t> Encode() {
    std::vector<uint8_t> out(edb::kLzfuHeaderSize);
    size_t i = 0;
    bool ended = false;
    while (!ended) {
      size_t control_at = out.size();
      out.push_back(0);
      for (int bit = 0; bit < 8; ++bit) {
        if (i >= input_.size()) {
          // The end-of-stream reference: offset equal to the write position.
          out[control_at] |= static_cast<uint8_t>(1 << bit);
          PushWord(static_cast<uint16_t>(write_ << 4), &out);
          ended = true;
          break;
        }
        size_t offset = 0;
        size_t length = LongestMatch(i, &offset);
        if (length >= 2) {
          out[control_at] |= static_cast<uint8_t>(1 << bit);
          PushWord(static_cast<uint16_t>((offset << 4) | (length - 2)), &out);
        } else {
          length = 1;
          out.push_back(static_cast<uint8_t>(input_[i]));
        }
        for (size_t k = 0; k < length; ++k) Put(static_cast<uint8_t>(input_[i + k]));
        i += length;
      }
    }
    edb::LzfuHeader header;
    header.compressed_size = static_cast<uint32_t>(out.size() - 4);
    header.raw_size = static_cast<uint32_t>(input_.size());
    header.type = edb::kLzfuCompressed;
    header.crc = edb::LzfuCrc(std::span<const uint8_t>(out).subspan(edb::kLzfuHeaderSize));
    edb::WriteLzfuHeader(header, out.data());
    return out;
  }

 private:
  static uint16_t Key(uint8_t a, uint8_t b) { return static_cast<uint16_t>(a << 8 | b); }

  // Records that the two bytes at position `p` form their key now.
  void Index(size_t p) {
    uint16_t key = Key(dictionary_[p], dictionary_[(p + 1) & kMask]);
    prev_[p] = head_[key];
    head_[key] = static_cast<int16_t>(p);
  }

  void Put(uint8_t byte) {
    dictionary_[write_] = byte;
    Index((write_ - 1) & kMask);
    write_ = (write_ + 1) & kMask;
  }

  // Length of the match at dictionary position `p` for the input at `i`, as a
  // decoder would copy it: bytes this very reference writes are read back.
  size_t MatchLength(size_t p, size_t i, size_t limit) const {
    size_t length = 0;
    while (length < limit) {
      size_t source = (p + length) & kMask;
      size_t behind = (source - write_) & kMask;
      uint8_t byte = behind < length ? static_cast<uint8_t>(input_[i + behind]) : dictionary_[source];
      if (byte != static_cast<uint8_t>(input_[i + length])) break;
      ++length;
    }
    return length;
  }

  // The longest match for the input at `i` (0 when there is none of two
  // bytes). Never the write position itself: that offset ends the stream.
  size_t LongestMatch(size_t i, size_t* offset) const {
    if (input_.size() - i < 2) return 0;
    size_t limit = std::min(kLzfuMaxReferenceLength, input_.size() - i);
    size_t best = 0;
    int p = head_[Key(static_cast<uint8_t>(input_[i]), static_cast<uint8_t>(input_[i + 1]))];
    for (int n = 0; p >= 0 && n < kMaxCandidates; ++n, p = prev_[p]) {
      if (static_cast<size_t>(p) == write_) continue;
      size_t length = MatchLength(p, i, limit);
      if (length > best) {
        best = length;
        *offset = p;
        if (best == limit) break;
      }
    }
    return best;
  }

  static void PushWord(uint16_t word, std::vector<uint8_t>* out) {
    out->push_back(static_cast<uint8_t>(word >> 8));
    out->push_back(static_cast<uint8_t>(word & 0xFF));
  }

  std::string_view input_;
  std::array<uint8_t, kLzfuDictionarySize> dictionary_{};
  std::array<int16_t, 65536> head_;
  std::array<int16_t, kLzfuDictionarySize> prev_;
  size_t write_ = 0;
};

}  // namespace

std::vector<uint8_t> CompressRtf(std::string_view rtf) { return LzfuEncoder(rtf).Encode(); }

std::vector<uint8_t> UncompressedRtfStream(std::string_view rtf) {
  std::vector<uint8_t> out(edb::kLzfuHeaderSize + rtf.size());
  edb::LzfuHeader header;
  header.compressed_size = static_cast<uint32_t>(rtf.size() + edb::kLzfuHeaderSize - 4);
  header.raw_size = static_cast<uint32_t>(rtf.size());
  header.type = edb::kLzfuUncompressed;
  header.crc = 0;
  edb::WriteLzfuHeader(header, out.data());
  std::copy(rtf.begin(), rtf.end(), out.begin() + edb::kLzfuHeaderSize);
  return out;
}

}  // namespace storegen
