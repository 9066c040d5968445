// Engine format chosen per page size.
#include "ese/engine_format.h"

#include <stdexcept>
#include <string>

namespace esewriter {

EngineFormat FormatForPageSize(uint32_t page_size) {
  if (page_size == 4096) return {4096, 0x0b};
  if (page_size == 8192) return {8192, 0x0c};
  throw std::invalid_argument("unsupported page size " + std::to_string(page_size) + " (4096 or 8192)");
}

}  // namespace esewriter
