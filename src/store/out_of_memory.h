// How the store reader ends when memory runs out while an entry list grows:
// an error box with the application's caption, then the process ends at once
// with a non-zero exit code.
#pragma once

#include <string_view>

#include "store/window_port.h"

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

}  // namespace edb
