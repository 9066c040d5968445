// Identifier bytes and texts.
#include "storegen/identifiers.h"

#include <cctype>
#include <cstdio>
#include <stdexcept>

namespace storegen {

std::array<uint8_t, 8> IdBytes(uint64_t id) {
  std::array<uint8_t, 8> bytes;
  for (int i = 7; i >= 0; --i) {
    bytes[static_cast<size_t>(i)] = static_cast<uint8_t>(id & 0xFF);
    id >>= 8;
  }
  return bytes;
}

std::string IdText(uint64_t id) {
  char buffer[17];
  std::snprintf(buffer, sizeof buffer, "%llx", static_cast<unsigned long long>(id));
  return buffer;
}

uint64_t ParseIdText(std::string_view text) {
  if (text.empty() || text.size() > 16) {
    throw std::invalid_argument("identifier must have 1 to 16 hexadecimal digits: \"" + std::string(text) + "\"");
  }
  uint64_t id = 0;
  for (char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (!std::isxdigit(u)) {
      throw std::invalid_argument("identifier is not hexadecimal: \"" + std::string(text) + "\"");
    }
    const int digit = std::isdigit(u) ? u - '0' : std::tolower(u) - 'a' + 10;
    id = (id << 4) | static_cast<uint64_t>(digit);
  }
  return id;
}

std::string ContentsTableName(std::string_view id_text) {
  const std::string_view middle = id_text.size() > 1 ? id_text.substr(1, 14) : std::string_view();
  size_t first = 0;
  while (first < middle.size() && middle[first] == '0') ++first;
  std::string name = "1-";
  for (char c : middle.substr(first)) name.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
  return name;
}

}  // namespace storegen
