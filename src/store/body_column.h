// Body extraction: one body column of a message record ("S1000" plain text,
// "N1009" compressed RTF, "N1013" HTML) decoded, whole, into one body chunk.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "store/body_chunk.h"
#include "body/code_page.h"
#include "body/rtf_reader.h"
#include "base/corruption_reporter.h"
#include "ese/long_value_source.h"

namespace edb {

// A body column's text and kind, and what was wrong with its data.
struct DecodedBody {
  std::u16string text;
  BodyKind kind = BodyKind::kText;
  std::string problem;  // "" when the data was sound
};

// Decodes body column bytes from memory. Keeps its converters between calls;
// one object per thread.
class BodyDecoder {
 public:
  // "S1000": text in `code_page` (see DecodePlainBody; 0: not known).
  // "N1009": the stream expanded, then the HTML it encapsulates (kind html)
  //          or its text (kind txt).
  // "N1013": HTML in the charset it declares (see DecodeHtmlBody).
  DecodedBody Decode(BodyColumn column, std::string_view bytes, uint32_t code_page);

 private:
  CodePageDecoder code_pages_;
  RtfReader rtf_reader_;
};

// The bytes of a long value, its segments joined in order, so that a
// character split between two segments decodes whole. A segment that cannot
// be read is described in `problem`; with `stop_at_hole` (compressed RTF:
// what follows a hole cannot be expanded) reading ends there, otherwise the
// other segments are still joined.
std::string JoinLongValueSegments(LongValueSegments* segments, bool stop_at_hole, std::string* problem);

// Reads value `value` of `ref` (the column named `column_name`) and, when
// that is one of the three body columns and the value is not NULL, appends
// its chunk for item `key` to `chunks`. Values kept inside the record (7-bit
// compressed ones expanded) and long values are decoded alike; a long
// value's segments are joined before decoding. `code_page` is the column's code page as the catalog records it
// (1200 or 1252), or 0 when not known; it matters for a plain-text body kept
// as a long value (a body kept in the record is decoded by libesedb, which
// knows it). A value that cannot be read completely, or whose data is
// damaged, is reported to `reporter`; whatever could be decoded is still
// appended. Returns true when a chunk was appended.
bool ExtractBodyColumn(const RecordRef& ref, int value, std::u16string_view column_name, std::u16string_view key,
                       uint32_t code_page, BodyChunkList* chunks, CorruptionReporter* reporter);

}  // namespace edb
