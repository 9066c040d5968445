// Removal of the private temporary folders when the process is ended by
// SIGINT, SIGTERM, SIGHUP or SIGPIPE (Ctrl+C, kill, a closed terminal, or
// `edbrecover list ... | head`), which would otherwise leave the attachment
// data and bodies written there behind.
//
// Contract: a folder is registered by the PrivateTempFolder that made it and
// unregistered after its own removal. On the first registration, handlers are
// installed for those of the four signals whose action is still the default
// (a signal the process ignores, or handles itself, is left alone). The
// handler removes every registered folder with its contents, using only
// async-signal-safe calls, then ends the process with the signal's default
// action, so the exit status is the signal's usual one and nothing is
// printed. Registration is thread-safe and lock-free; at most
// kMaxRemovableFolders folders are registered at once (later ones are
// removed only by their owner).
#pragma once

namespace edb {

inline constexpr int kMaxRemovableFolders = 16;

// Registers the folder at `path` (absolute) for removal on those signals.
// Returns its registration, or -1 when the path is too long or every place is
// taken.
int RegisterFolderForSignalRemoval(const char* path);

// Ends registration `registration` (a value RegisterFolderForSignalRemoval
// returned; -1 is ignored).
void UnregisterFolderForSignalRemoval(int registration);

}  // namespace edb
