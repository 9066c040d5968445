// Compressed RTF decoding: streams built token by token, streams from our
// compressor, and damaged streams.
#include "body/rtf_decompressor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "body/lzfu_format.h"
#include "storegen/rtf_compressor.h"

namespace edb {
namespace {

// Builds an LZFu stream from hand-written tokens; the header is filled in
// (sizes and checksum) by Finish.
class StreamBuilder {
 public:
  StreamBuilder& Control(uint8_t bits) {
    tokens_.push_back(bits);
    return *this;
  }
  StreamBuilder& Literal(char c) {
    tokens_.push_back(static_cast<uint8_t>(c));
    return *this;
  }
  StreamBuilder& Reference(unsigned offset, unsigned length) {
    unsigned word = offset << 4 | (length - 2);
    tokens_.push_back(static_cast<uint8_t>(word >> 8));
    tokens_.push_back(static_cast<uint8_t>(word));
    return *this;
  }
  std::vector<uint8_t> Finish(uint32_t raw_size) {
    LzfuHeader header;
    header.compressed_size = static_cast<uint32_t>(tokens_.size() + kLzfuHeaderSize - 4);
    header.raw_size = raw_size;
    header.type = kLzfuCompressed;
    header.crc = LzfuCrc(tokens_);
    std::vector<uint8_t> stream(kLzfuHeaderSize + tokens_.size());
    WriteLzfuHeader(header, stream.data());
    std::copy(tokens_.begin(), tokens_.end(), stream.begin() + kLzfuHeaderSize);
    return stream;
  }

 private:
  std::vector<uint8_t> tokens_;
};

// Decodes `stream` from a heap buffer of exactly its size: a vector's spare
// capacity behind the data would hide a read past the end from
// AddressSanitizer.
DecompressedRtf Decode(const std::vector<uint8_t>& stream) {
  std::unique_ptr<uint8_t[]> exact(new uint8_t[stream.size()]);
  std::copy(stream.begin(), stream.end(), exact.get());
  return DecompressRtf(std::span<const uint8_t>(exact.get(), stream.size()));
}

TEST(RtfDecompressorTest, DecodesTheWorkedExampleOfTheFormat) {
  // The compressed form of "{\rtf1\ansi\ansicpg1252\pard hello world}\r\n" as
  // the format's own description gives it.
  const std::vector<uint8_t> stream = {
      0x2d, 0x00, 0x00, 0x00, 0x2b, 0x00, 0x00, 0x00, 0x4c, 0x5a, 0x46, 0x75, 0xf1, 0xc5, 0xc7, 0xa7, 0x03,
      0x00, 0x0a, 0x00, 0x72, 0x63, 0x70, 0x67, 0x31, 0x32, 0x35, 0x42, 0x32, 0x0a, 0xf3, 0x20, 0x68, 0x65,
      0x6c, 0x09, 0x00, 0x20, 0x62, 0x77, 0x05, 0xb0, 0x6c, 0x64, 0x7d, 0x0a, 0x80, 0x0f, 0xa0};
  DecompressedRtf result = Decode(stream);
  EXPECT_EQ(result.rtf, "{\\rtf1\\ansi\\ansicpg1252\\pard hello world}\r\n");
  EXPECT_TRUE(result.intact()) << result.Problem();
  EXPECT_EQ(result.Problem(), "");
}

TEST(RtfDecompressorTest, ReferencesReachTheInitialDictionaryAndOverlapTheirOwnOutput) {
  // Offset 0, length 6 is "{\rtf1"; then 'x' and a reference one byte back
  // of length 17 repeat the 'x'; the end-of-stream reference follows at the
  // write position 207 + 6 + 1 + 17.
  std::vector<uint8_t> stream =
      StreamBuilder().Control(0b1101).Reference(0, 6).Literal('x').Reference(213, 17).Reference(231, 2).Finish(24);
  DecompressedRtf result = Decode(stream);
  EXPECT_EQ(result.rtf, "{\\rtf1" + std::string(18, 'x'));
  EXPECT_TRUE(result.intact()) << result.Problem();
}

TEST(RtfDecompressorTest, EveryTokenBeforeTheEndReferenceIsDecoded) {
  // The last tokens sit right before the end reference, where a decoder that
  // stops early would drop them.
  std::vector<uint8_t> stream =
      StreamBuilder().Control(0b1000).Literal('a').Literal('b').Literal('}').Reference(210, 2).Finish(3);
  EXPECT_EQ(Decode(stream).rtf, "ab}");
}

TEST(RtfDecompressorTest, RoundTripsThroughOurCompressor) {
  std::string long_document = "{\\rtf1\\ansi ";
  for (int i = 0; long_document.size() < 200000; ++i)
    long_document += "Line " + std::to_string(i) + " of a long body\\par\r\n";
  long_document += "}";
  std::string every_byte;
  for (int i = 0; i < 9000; ++i) every_byte.push_back(static_cast<char>((i * 7919) % 256));
  for (const std::string& rtf : {std::string(), std::string("{\\rtf1 x}"), std::string(5000, 'z'), long_document,
                                 every_byte}) {
    DecompressedRtf result = Decode(storegen::CompressRtf(rtf));
    EXPECT_TRUE(result.intact()) << result.Problem();
    EXPECT_EQ(result.rtf, rtf);
  }
  // A long document compresses well (the dictionary wraps many times).
  EXPECT_LT(storegen::CompressRtf(long_document).size(), long_document.size() / 3);
}

TEST(RtfDecompressorTest, UncompressedStreamsAreCopied) {
  std::string rtf = "{\\rtf1 plain \\'e9}";
  DecompressedRtf result = Decode(storegen::UncompressedRtfStream(rtf));
  EXPECT_EQ(result.rtf, rtf);
  EXPECT_TRUE(result.intact());

  std::vector<uint8_t> cut = storegen::UncompressedRtfStream(rtf);
  cut.resize(cut.size() - 3);
  result = Decode(cut);
  EXPECT_EQ(result.rtf, rtf.substr(0, rtf.size() - 3));
  EXPECT_FALSE(result.complete);
}

TEST(RtfDecompressorTest, DamagedStreamsYieldWhatTheyCanAndSaySo) {
  std::string rtf = "{\\rtf1\\ansi Some text that is long enough to need several runs of tokens.}";
  std::vector<uint8_t> good = storegen::CompressRtf(rtf);

  // A checksum mismatch does not stop decoding.
  std::vector<uint8_t> bad_crc = good;
  bad_crc[12] ^= 0x01;
  DecompressedRtf result = Decode(bad_crc);
  EXPECT_EQ(result.rtf, rtf);
  EXPECT_FALSE(result.crc_ok);
  EXPECT_NE(result.Problem().find("checksum"), std::string::npos);

  // A raw size that understates the data: all of it is still decoded.
  std::vector<uint8_t> small_raw = good;
  small_raw[4] = 5;
  small_raw[5] = small_raw[6] = small_raw[7] = 0;
  result = Decode(small_raw);
  EXPECT_EQ(result.rtf, rtf);
  EXPECT_FALSE(result.intact());
  EXPECT_TRUE(result.crc_ok);

  // A huge raw size neither allocates it nor changes the output.
  std::vector<uint8_t> huge_raw = good;
  huge_raw[4] = huge_raw[5] = huge_raw[6] = huge_raw[7] = 0xFF;
  result = Decode(huge_raw);
  EXPECT_EQ(result.rtf, rtf);
  EXPECT_LT(result.rtf.capacity(), 1u << 20);

  // A stream cut short: the tokens that are there, flagged incomplete.
  std::vector<uint8_t> cut(good.begin(), good.begin() + good.size() / 2);
  result = Decode(cut);
  EXPECT_FALSE(result.complete);
  EXPECT_FALSE(result.rtf.empty());
  EXPECT_EQ(rtf.compare(0, result.rtf.size(), result.rtf), 0);

  // An unknown type is reported; the data is still read as LZFu.
  std::vector<uint8_t> unknown_type = good;
  unknown_type[8] = 'X';
  result = Decode(unknown_type);
  EXPECT_FALSE(result.header_ok);
  EXPECT_EQ(result.rtf, rtf);

  // Shorter than a header: nothing, and no read beyond the input.
  result = Decode(std::vector<uint8_t>(good.begin(), good.begin() + 10));
  EXPECT_TRUE(result.rtf.empty());
  EXPECT_FALSE(result.header_ok);
}

TEST(RtfDecompressorTest, ReferenceCutToOneByteAtTheEndIsNotDecoded) {
  // The control byte announces a reference, but only its first byte is left:
  // the stream ends early there, with nothing read past it.
  std::vector<uint8_t> stream = StreamBuilder().Control(0b100).Literal('a').Literal('b').Reference(0, 6).Finish(8);
  stream.pop_back();
  DecompressedRtf result = Decode(stream);
  EXPECT_EQ(result.rtf, "ab");
  EXPECT_FALSE(result.complete);
  // The same cut in the first token of a run.
  stream = StreamBuilder().Control(0b1).Reference(0, 6).Finish(6);
  stream.pop_back();
  result = Decode(stream);
  EXPECT_EQ(result.rtf, "");
  EXPECT_FALSE(result.complete);
}

TEST(RtfDecompressorTest, HostileReferencesStayInsideTheOutput) {
  // All-reference runs with every offset: output bounded by what the input
  // can produce, never by the header.
  StreamBuilder builder;
  for (unsigned run = 0; run < 600; ++run) {
    builder.Control(0xFF);
    for (unsigned k = 0; k < 8; ++k) builder.Reference((run * 8 + k) * 37 % 4096, 17);
  }
  DecompressedRtf result = Decode(builder.Finish(0xFFFFFFF0u));
  EXPECT_LE(result.rtf.size(), 600u * 8 * 17);
}

}  // namespace
}  // namespace edb
