// Ending the process when memory runs out.
#include "store/out_of_memory.h"

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

}  // namespace edb
