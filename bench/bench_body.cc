// Throughput of body decoding on generated bodies: compressed RTF expansion
// (MB/s of RTF produced) and RTF reading (MB/s of RTF read), for a plain RTF
// body and one encapsulating HTML. Prints figures; asserts nothing.
#include <chrono>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "body/rtf_decompressor.h"
#include "body/rtf_reader.h"
#include "storegen/rtf_compressor.h"

namespace {

// About `size` bytes of RTF the way mail clients write it: a header, then
// paragraphs with formatting, escapes and Unicode characters.
std::string PlainRtfBody(size_t size) {
  std::string rtf =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fcharset0 Calibri;}"
      "{\\f1\\froman\\fcharset204 Times New Roman Cyr;}}{\\colortbl ;\\red31\\green73\\blue125;}"
      "{\\*\\generator Riched20 15.0.4599;}\\viewkind4\\uc1\\pard\\sa200\\sl276\\slmult1\\f0\\fs22 ";
  for (int i = 0; rtf.size() < size; ++i) {
    rtf += "Paragraph " + std::to_string(i) +
           " of the message, with {\\b bold} and {\\i italic} words, caf\\'e9 prices in \\u8364? and "
           "{\\f1\\'cf\\'f0\\'e8\\'e2\\'e5\\'f2} as well as a tab\\tab and quotes \\ldblquote x\\rdblquote .\\par\r\n";
  }
  return rtf + "}";
}

std::string HtmlRtfBody(size_t size) {
  std::string rtf =
      "{\\rtf1\\ansi\\ansicpg1252\\fromhtml1 \\deff0{\\fonttbl{\\f0\\fswiss Arial;}}{\\*\\htmltag64}"
      "{\\*\\htmltag <html><head><style>p \\{margin:0\\}</style></head><body>}";
  for (int i = 0; rtf.size() < size; ++i) {
    rtf += "{\\*\\htmltag <p class=MsoNormal>}{\\htmlrtf \\f0 \\htmlrtf0 Line " + std::to_string(i) +
           " of an HTML mail with {\\*\\htmltag <b>}{\\htmlrtf \\b \\htmlrtf0 bold}{\\*\\htmltag </b>} text"
           "{\\*\\htmltag &nbsp;}\\htmlrtf \\'a0\\htmlrtf0 caf\\'e9{\\*\\htmltag </p>\\par}\\htmlrtf\\par\\htmlrtf0}\r\n";
  }
  return rtf + "{\\*\\htmltag </body></html>}}";
}

template <typename F>
double MegabytesPerSecond(size_t bytes_per_run, F run) {
  using Clock = std::chrono::steady_clock;
  int runs = 0;
  auto start = Clock::now();
  double seconds = 0;
  do {
    run();
    ++runs;
    seconds = std::chrono::duration<double>(Clock::now() - start).count();
  } while (seconds < 1.0);
  return static_cast<double>(bytes_per_run) * runs / seconds / 1e6;
}

void Measure(const char* name, const std::string& rtf) {
  std::vector<uint8_t> compressed = storegen::CompressRtf(rtf);
  size_t sink = 0;
  double decompress = MegabytesPerSecond(rtf.size(), [&] { sink += edb::DecompressRtf(compressed).rtf.size(); });
  edb::RtfReader reader;
  edb::RtfText text;
  double parse = MegabytesPerSecond(rtf.size(), [&] {
    reader.Parse(rtf, &text);
    sink += text.text.size();
  });
  std::printf("%-10s %6.1f MB RTF (%5.1f MB compressed): DecompressRtf %7.1f MB/s, ParseRtf %6.1f MB/s  (%zu)\n", name,
              rtf.size() / 1e6, compressed.size() / 1e6, decompress, parse, sink % 10);
}

}  // namespace

int main() {
  Measure("rtf", PlainRtfBody(8'000'000));
  Measure("html-rtf", HtmlRtfBody(8'000'000));
  Measure("small", PlainRtfBody(4'000));
  return 0;
}
