// Ending the process when memory runs out.
#include "app/ui/out_of_memory.h"

#include <cstdio>
#include <cstdlib>

namespace edb {

void EndProcessOutOfMemory(WindowPort& window, std::u16string_view message) {
  try {
    window.ShowMessage(MessageKind::kError, message, kMessageCaption);
  } catch (...) {
    // Showing the box needed memory too; end without it.
  }
  std::fflush(nullptr);
  std::_Exit(kOutOfMemoryExitCode);
}

std::u16string_view OutOfMemoryMessage(const std::bad_alloc& error) {
  const auto* exhausted = dynamic_cast<const MemoryExhausted*>(&error);
  if (exhausted != nullptr && exhausted->use() == MemoryUse::kItemContent) return kNotEnoughMemoryMessage;
  return kOutOfMemoryMessage;
}

}  // namespace edb
