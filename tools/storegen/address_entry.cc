// One-off entries and recipient lists.
#include "storegen/address_entry.h"

#include "storegen/text_codec.h"

namespace storegen {
namespace {

// A provider id of our own, chosen so that none of its bytes survives the
// reader's hex decoding: controls, "{" to DEL, and the five bytes
// Windows-1252 leaves undefined.
constexpr uint8_t kProviderId[16] = {0x81, 0x1F, 0x7C, 0x8D, 0x10, 0x19, 0x9D, 0x7E,
                                     0x01, 0x0F, 0x02, 0x8F, 0x7F, 0x90, 0x7B, 0x1E};

void AppendLittleEndian32(uint32_t value, std::vector<uint8_t>* out) {
  for (int i = 0; i < 4; ++i) out->push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void AppendZeroTerminated(const std::string& utf8, std::vector<uint8_t>* out) {
  const std::string bytes = Utf8ToWindows1252(utf8);
  out->insert(out->end(), bytes.begin(), bytes.end());
  out->push_back(0);
}

}  // namespace

std::vector<uint8_t> OneOffEntry(const AddressEntry& entry) {
  std::vector<uint8_t> out;
  AppendLittleEndian32(0, &out);
  out.insert(out.end(), std::begin(kProviderId), std::end(kProviderId));
  out.push_back(0x00);
  out.push_back(0x00);
  out.push_back(0x01);
  out.push_back(0x90);
  AppendZeroTerminated(entry.display_name, &out);
  AppendZeroTerminated(entry.address_type, &out);
  AppendZeroTerminated(entry.address, &out);
  return out;
}

std::vector<uint8_t> RecipientList(const std::vector<Recipient>& recipients) {
  std::vector<uint8_t> out;
  AppendLittleEndian32(static_cast<uint32_t>(recipients.size()), &out);
  for (const Recipient& recipient : recipients) {
    const std::vector<uint8_t> entry = OneOffEntry(recipient.entry);
    AppendLittleEndian32(static_cast<uint32_t>(recipient.type), &out);
    AppendLittleEndian32(static_cast<uint32_t>(entry.size()), &out);
    out.insert(out.end(), entry.begin(), entry.end());
  }
  return out;
}

}  // namespace storegen
