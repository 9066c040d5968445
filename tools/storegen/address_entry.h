// Sender and recipient values ("N67be", "N67b4"): MAPI one-off entries in
// their 8-bit form. Read through the store reader's hex decoding (zero bytes
// become blanks, bytes 32..122 stay, the rest vanish) an entry reads as
// "display name, blank, address type, blank, address", which is what the
// reader's address patterns look for.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "storegen/store_description.h"

namespace storegen {

// One entry: 4 flag bytes (0), a 16-byte provider id whose bytes all lie
// outside 32..122, 2 version bytes (0), 2 flag bytes (0x0190, no rich info,
// 8-bit text), then display name, address type and address, each in
// Windows-1252 and zero-terminated. Characters Windows-1252 lacks become "?".
std::vector<uint8_t> OneOffEntry(const AddressEntry& entry);

// A recipient list: the number of recipients (4 bytes, little-endian), then
// per recipient its type and the size of its entry (4 bytes each,
// little-endian) followed by the entry.
std::vector<uint8_t> RecipientList(const std::vector<Recipient>& recipients);

}  // namespace storegen
