// The engine generation the writer produces per page size; the format's
// constants themselves are the reader's (ese/format.h).
#pragma once

#include <cstddef>
#include <cstdint>

#include "ese/format.h"

namespace esewriter {

// The format's constants, shared with the reader.
using namespace edb::ese::format;  // NOLINT(google-build-using-namespace)

// The engine generation a page size stands for: 4 KiB pages are written as
// Exchange 2003 SP1 and later did (revision 0x0b, the first with ECC page
// checksums), 8 KiB pages as Exchange 2007 did (revision 0x0c).
struct EngineFormat {
  uint32_t page_size;
  uint32_t revision;
};

// The format for `page_size`; throws std::invalid_argument for any size but
// 4096 and 8192.
EngineFormat FormatForPageSize(uint32_t page_size);

}  // namespace esewriter
