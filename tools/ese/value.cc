// Cell values of the ESE writer: how each column type's value is encoded.
#include <cstring>
#include <stdexcept>

#include "ese/database_writer.h"

namespace esewriter {
namespace {
template <typename T>
std::vector<uint8_t> LittleEndian(T v) {
  std::vector<uint8_t> out(sizeof(T));
  std::memcpy(out.data(), &v, sizeof(T));  // the writer runs on little-endian hosts only
  return out;
}
}  // namespace

Value Value::Bytes(std::vector<uint8_t> bytes) {
  Value v;
  v.kind_ = Kind::kSingle;
  v.bytes_ = std::move(bytes);
  return v;
}

Value Value::Bytes(std::string_view bytes) { return Bytes(std::vector<uint8_t>(bytes.begin(), bytes.end())); }

Value Value::Multi(std::vector<std::vector<uint8_t>> values) {
  Value v;
  v.kind_ = Kind::kMulti;
  v.multi_ = std::move(values);
  return v;
}

Value Value::Bool(bool b) { return Bytes(std::vector<uint8_t>{static_cast<uint8_t>(b ? 0xFF : 0x00)}); }
Value Value::U8(uint8_t x) { return Bytes(LittleEndian(x)); }
Value Value::I16(int16_t x) { return Bytes(LittleEndian(x)); }
Value Value::U16(uint16_t x) { return Bytes(LittleEndian(x)); }
Value Value::I32(int32_t x) { return Bytes(LittleEndian(x)); }
Value Value::U32(uint32_t x) { return Bytes(LittleEndian(x)); }
Value Value::I64(int64_t x) { return Bytes(LittleEndian(x)); }
Value Value::F32(float x) { return Bytes(LittleEndian(x)); }
Value Value::F64(double x) { return Bytes(LittleEndian(x)); }
Value Value::Text1252(std::string_view bytes) { return Bytes(bytes); }

Value Value::Text1200(std::u16string_view utf16) {
  std::vector<uint8_t> out;
  out.reserve(utf16.size() * 2);
  for (char16_t c : utf16) {
    out.push_back(static_cast<uint8_t>(c & 0xFF));
    out.push_back(static_cast<uint8_t>(c >> 8));
  }
  return Bytes(std::move(out));
}

Value Value::Compressed7Bit(std::string_view ascii) {
  for (char c : ascii) {
    if (static_cast<unsigned char>(c) > 0x7F) throw std::invalid_argument("7-bit compression needs ASCII text");
  }
  Value v = Bytes(ascii);
  v.compressed_ = true;
  return v;
}

}  // namespace esewriter
