// How the program ends when memory runs out while the store reader's lists
// grow: an error box with the application's caption, then the process ends
// at once with a non-zero exit code.
#pragma once

#include <new>
#include <string_view>

#include "store/memory_exhausted.h"
#include "app/ui/window_port.h"

namespace edb {

inline constexpr int kOutOfMemoryExitCode = 3;

// The message for the entry lists (mailboxes, folders, index, attachments,
// headers, contacts, body chunks).
inline constexpr std::u16string_view kOutOfMemoryMessage = u"Out Of Memory";
// The message for the item-content lists.
inline constexpr std::u16string_view kNotEnoughMemoryMessage = u"Not Enough Memory";

// Shows `message` in an error box through `window`, then ends the process
// with kOutOfMemoryExitCode without running destructors of other threads'
// state.
[[noreturn]] void EndProcessOutOfMemory(WindowPort& window, std::u16string_view message);

// The message for what ran out: kNotEnoughMemoryMessage for the item
// content, kOutOfMemoryMessage for everything else.
std::u16string_view OutOfMemoryMessage(const std::bad_alloc& error);

// Runs `work` and returns what it returns; when it runs out of memory, ends
// the process with the message for what ran out.
template <typename Work>
auto EndingProcessWhenMemoryRunsOut(WindowPort& window, Work&& work) -> decltype(work()) {
  try {
    return work();
  } catch (const std::bad_alloc& error) {
    EndProcessOutOfMemory(window, OutOfMemoryMessage(error));
  }
}

}  // namespace edb
