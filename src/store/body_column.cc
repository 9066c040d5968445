// Reading a body column's bytes from a record and decoding them.
#include "store/body_column.h"

#include <algorithm>
#include <optional>
#include <span>

#include "body/body_text.h"
#include "body/rtf_decompressor.h"
#include "ese/decompress_7bit.h"
#include "ese/esedb_handles.h"
#include "base/text_encoding.h"

namespace edb {
namespace {

constexpr uint8_t kLongValueFlag = 0x04;
constexpr uint8_t kCompressedFlag = 0x02;
constexpr uint32_t kTextType = 10;
constexpr uint32_t kLongTextType = 12;

std::string_view ColumnName(BodyColumn column) {
  switch (column) {
    case BodyColumn::kPlainText: return "S1000";
    case BodyColumn::kCompressedRtf: return "N1009";
    case BodyColumn::kHtml: return "N1013";
  }
  return "";
}

// What one body value held: bytes to decode, or text libesedb decoded.
struct BodyValue {
  bool present = false;
  bool is_text = false;
  std::string bytes;
  std::u16string text;
  std::string problem;
};

// The whole long value behind `value`, through the record's source (or
// libesedb's when the record came without one).
void ReadLongValue(const RecordRef& ref, int value, BodyColumn column, BodyValue* out) {
  std::string error;
  EsedbLongValueSource libesedb_source;
  LongValueSource* source = ref.long_values != nullptr ? ref.long_values : &libesedb_source;
  std::unique_ptr<LongValueSegments> segments = source->Open(ref.record, value, &error);
  if (segments == nullptr) {
    out->problem = "long value cannot be opened: " + error;
    return;
  }
  out->present = true;
  out->bytes = JoinLongValueSegments(segments.get(), column == BodyColumn::kCompressedRtf, &out->problem);
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

// A value kept inside the record. Text columns are read through libesedb,
// which applies the column's code page; compressed values are expanded here.
void ReadRecordValue(libesedb_record_t* record, int value, uint32_t column_type, uint8_t flags, BodyValue* out) {
  EsedbError error;
  bool text_column = column_type == kTextType || column_type == kLongTextType;
  if (text_column && (flags & kCompressedFlag) == 0) {
    size_t size = 0;
    int found = libesedb_record_get_value_utf16_string_size(record, value, &size, error.slot());
    if (found == 0) return;
    if (found == 1 && size > 0) {
      std::u16string text(size, u'\0');
      if (libesedb_record_get_value_utf16_string(record, value, reinterpret_cast<uint16_t*>(text.data()), size,
                                                 error.slot()) == 1) {
        out->present = true;
        out->is_text = true;
        out->text = std::move(text);
        return;
      }
    }
    // Text libesedb cannot decode is read as bytes below.
  }
  size_t size = 0;
  if (libesedb_record_get_value_data_size(record, value, &size, error.slot()) != 1) {
    out->problem = "value size cannot be read: " + error.Message();
    return;
  }
  if (size == 0) return;
  std::string stored(size, '\0');
  if (libesedb_record_get_value_data(record, value, reinterpret_cast<uint8_t*>(stored.data()), size,
                                     error.slot()) != 1) {
    out->problem = "value cannot be read: " + error.Message();
    return;
  }
  if ((flags & kCompressedFlag) == 0) {
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

BodyValue ReadBodyValue(const RecordRef& ref, int value, BodyColumn column) {
  BodyValue out;
  EsedbError error;
  uint8_t flags = 0;
  uint32_t column_type = 0;
  if (libesedb_record_get_value_data_flags(ref.record, value, &flags, error.slot()) != 1 ||
      libesedb_record_get_column_type(ref.record, value, &column_type, error.slot()) != 1) {
    out.problem = "value cannot be read: " + error.Message();
    return out;
  }
  if ((flags & kLongValueFlag) != 0) {
    ReadLongValue(ref, value, column, &out);
  } else {
    ReadRecordValue(ref.record, value, column_type, flags, &out);
  }
  return out;
}

void AddProblem(const std::string& problem, std::string* all) {
  if (problem.empty()) return;
  if (!all->empty()) *all += "; ";
  *all += problem;
}

}  // namespace

std::string JoinLongValueSegments(LongValueSegments* segments, bool stop_at_hole, std::string* problem) {
  std::string bytes;
  std::vector<uint8_t> data;
  std::string error;
  for (int i = 0; i < segments->count(); ++i) {
    if (!segments->Segment(i, &data, &error)) {
      AddProblem("long value segment " + std::to_string(i) + " of " + std::to_string(segments->count()) +
                     " cannot be read: " + error,
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
                       uint32_t code_page, BodyChunkList* chunks, CorruptionReporter* reporter) {
  BodyColumn column;
  if (ref.record == nullptr || !BodyColumnOfName(column_name, &column)) return false;
  BodyValue read = ReadBodyValue(ref, value, column);
  std::string where = "body " + std::string(ColumnName(column)) + " of item " + Utf16ToUtf8(key);
  if (!read.problem.empty()) reporter->Corruption(where, read.problem);
  if (!read.present) return false;

  DecodedBody body;
  if (read.is_text) {
    body.text = std::move(read.text);
    body.text.erase(std::remove(body.text.begin(), body.text.end(), u'\0'), body.text.end());
  } else {
    BodyDecoder decoder;
    body = decoder.Decode(column, read.bytes, code_page);
    if (!body.problem.empty()) reporter->Corruption(where, body.problem);
  }
  AppendBodyChunk(chunks, key, std::move(body.text), body.kind, column);
  return true;
}

}  // namespace edb
