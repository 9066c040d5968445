// The database file header, kept in the first page of the file and, as a
// shadow copy, in the second.
#pragma once

#include <cstdint>
#include <vector>

#include "ese/engine_format.h"

namespace esewriter {

struct FileHeaderFields {
  EngineFormat format;
  uint64_t database_time = 0;   // the newest page time in the file
  uint32_t last_object_id = 0;  // the highest objid in use
};

// A whole header page (format.page_size bytes) describing a cleanly shut
// down database, checksum stamped.
std::vector<uint8_t> BuildFileHeaderPage(const FileHeaderFields& fields);

}  // namespace esewriter
