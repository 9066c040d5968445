// Reading a body column's bytes from a record and decoding them.
#include "store/body_column.h"

#include <algorithm>
#include <optional>
#include <span>

#include "body/body_text.h"
#include "body/rtf_decompressor.h"
#include "ese/decompress_7bit.h"
#include "base/text_encoding.h"

namespace edb {
namespace {

std::string_view ColumnName(BodyColumn column) {
  switch (column) {
    case BodyColumn::kPlainText: return "S1000";
    case BodyColumn::kCompressedRtf: return "N1009";
    case BodyColumn::kHtml: return "N1013";
  }
  return "";
}

// What one body value held: bytes to decode, or text the database decoded.
struct BodyValue {
  bool present = false;
  bool is_text = false;
  std::string bytes;
  std::u16string text;
  std::string problem;
  // The `where` of damage already reported that lost this value.
  std::string lost_to;
};

// The whole long value behind `value`, through the record.
void ReadLongValue(const RecordRef& ref, int value, BodyColumn column, BodyValue* out) {
  Result<std::unique_ptr<ese::LongValue>> segments = ref.record->OpenLongValue(value);
  if (!segments.ok()) {
    if (!segments.status().reported_as().empty()) {
      out->lost_to = segments.status().reported_as();
    } else {
      out->problem = "long value cannot be opened: " + segments.status().reason();
    }
    return;
  }
  out->present = true;
  out->bytes = JoinLongValueSegments(**segments, column == BodyColumn::kCompressedRtf, &out->problem);
}

// Expands a value the engine kept compressed into its 7-bit characters. Its
// first byte names the method in its upper five bits (1: 7-bit ASCII, 2:
// 7-bit characters of UTF-16 text) and, in the lower three, how many bits of
// the last byte are used. False for other methods.
bool ExpandCompressedValue(std::string_view stored, std::string* characters, unsigned* method) {
  if (stored.size() < 2) return false;
  uint8_t header = static_cast<uint8_t>(stored[0]);
  *method = header >> 3;
  if (*method != 1 && *method != 2) return false;
  size_t bits = (stored.size() - 2) * 8 + (header & 0x07) + 1;
  std::optional<std::vector<uint8_t>> expanded =
      Decompress7Bit(std::span(reinterpret_cast<const uint8_t*>(stored.data()), stored.size()));
  if (!expanded) return false;
  size_t count = std::min(bits / 7, expanded->size() - 1);
  characters->assign(expanded->begin() + 1, expanded->begin() + 1 + static_cast<std::ptrdiff_t>(count));
  return true;
}

// A value kept inside the record. Text in a known code page is read as bytes
// and decoded with the other bodies (the database's text reading stops at
// the first NUL character, losing the text after it); text whose code page
// the catalog does not give is read as text through the database, which
// knows it. Compressed values are expanded here.
void ReadStoredValue(const RecordRef& ref, int value, const ese::Value& stored_value, uint32_t code_page,
                     BodyValue* out) {
  const uint8_t flags = stored_value.flags;
  const uint32_t column_type = stored_value.column_type;
  bool text_column = column_type == ese::column_type::kText || column_type == ese::column_type::kLongText;
  if (text_column && (flags & ese::value_flag::kCompressed) == 0 && code_page == 0) {
    Result<std::u16string> text = ref.record->ValueText(value);
    if (!text.ok() && text.status().code() == StatusCode::kNotFound) return;
    if (text.ok()) {
      out->present = true;
      out->is_text = true;
      out->text = *std::move(text);
      return;
    }
    // Text the database cannot decode is read as bytes below.
  }
  if (stored_value.data.empty()) return;
  std::string stored(stored_value.data.begin(), stored_value.data.end());
  if ((flags & ese::value_flag::kCompressed) == 0) {
    out->present = true;
    out->bytes = std::move(stored);
    return;
  }
  std::string characters;
  unsigned method = 0;
  if (!ExpandCompressedValue(stored, &characters, &method)) {
    out->problem = "value compressed with a method other than 7-bit";
    return;
  }
  out->present = true;
  if (text_column) {
    out->is_text = true;
    out->text.assign(characters.begin(), characters.end());
  } else {
    // A binary value keeps its bytes: 7-bit UTF-16 gets its zero high bytes back.
    for (char c : characters) {
      out->bytes.push_back(c);
      if (method == 2) out->bytes.push_back('\0');
    }
  }
}

BodyValue ReadBodyValue(const RecordRef& ref, int value, BodyColumn column, uint32_t code_page) {
  BodyValue out;
  ese::Value stored;
  if (Status read = ref.record->ReadValue(value, &stored); !read.ok()) {
    out.problem = "value cannot be read: " + read.reason();
    return out;
  }
  if ((stored.flags & ese::value_flag::kLongValue) != 0) {
    ReadLongValue(ref, value, column, &out);
  } else {
    ReadStoredValue(ref, value, stored, code_page, &out);
  }
  return out;
}

void AddProblem(const std::string& problem, std::string* all) {
  if (problem.empty()) return;
  if (!all->empty()) *all += "; ";
  *all += problem;
}

}  // namespace

std::string JoinLongValueSegments(ese::LongValue& segments, bool stop_at_hole, std::string* problem) {
  std::string bytes;
  std::vector<uint8_t> data;
  for (int i = 0; i < segments.segment_count(); ++i) {
    if (Status read = segments.ReadSegment(i, &data); !read.ok()) {
      AddProblem("long value segment " + std::to_string(i) + " of " + std::to_string(segments.segment_count()) +
                     " cannot be read: " + read.reason(),
                 problem);
      if (stop_at_hole) break;
      continue;
    }
    bytes.append(reinterpret_cast<const char*>(data.data()), data.size());
  }
  return bytes;
}

DecodedBody BodyDecoder::Decode(BodyColumn column, std::string_view bytes, uint32_t code_page) {
  DecodedBody body;
  switch (column) {
    case BodyColumn::kPlainText:
      body.text = DecodePlainBody(bytes, code_page, &code_pages_);
      break;
    case BodyColumn::kHtml:
      body.kind = BodyKind::kHtml;
      body.text = DecodeHtmlBody(bytes, &code_pages_);
      break;
    case BodyColumn::kCompressedRtf: {
      DecompressedRtf rtf = DecompressRtf(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
      body.problem = rtf.Problem();
      RtfText text;
      RtfResult result = rtf_reader_.Parse(rtf.rtf, &text);
      if (result != RtfResult::kOk) AddProblem("RTF " + std::string(RtfResultText(result)), &body.problem);
      body.kind = text.html ? BodyKind::kHtml : BodyKind::kText;
      body.text = std::move(text.text);
      break;
    }
  }
  return body;
}

bool ExtractBodyColumn(const RecordRef& ref, int value, std::u16string_view column_name, std::u16string_view key,
                       uint32_t code_page, BodyDecoder& decoder, BodyChunkList* chunks, CorruptionReporter* reporter) {
  BodyColumn column;
  if (ref.record == nullptr || !BodyColumnOfName(column_name, &column)) return false;
  BodyValue read = ReadBodyValue(ref, value, column, code_page);
  std::string where = "body " + std::string(ColumnName(column)) + " of item " + Utf16ToUtf8(key);
  if (!read.problem.empty()) reporter->Corruption(where, read.problem);
  if (!read.lost_to.empty()) reporter->Cost(read.lost_to, Loss::kBody, Utf16ToUtf8(key));
  if (!read.present) return false;

  DecodedBody body;
  if (read.is_text) {
    body.text = std::move(read.text);
    body.text.erase(std::remove(body.text.begin(), body.text.end(), u'\0'), body.text.end());
  } else {
    body = decoder.Decode(column, read.bytes, code_page);
    if (!body.problem.empty()) reporter->Corruption(where, body.problem);
  }
  AppendBodyChunk(chunks, key, std::move(body.text), body.kind, column);
  return true;
}

}  // namespace edb
