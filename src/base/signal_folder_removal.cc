// Signal handlers that remove the private temporary folders.
#include "base/signal_folder_removal.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <string.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <mutex>

namespace edb {
namespace {

constexpr int kTerminatingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};

// How deep the handler follows subfolders; the folders hold files only.
constexpr int kDeepestSubfolder = 8;

// Passes over a folder's entries: files still being written by another
// thread while the handler runs may appear after the first pass.
constexpr int kRemovalPasses = 4;

// One registered folder. `claimed` reserves the place; `ready` says the path
// is complete and may be read by the handler.
struct RemovableFolder {
  std::atomic<bool> claimed{false};
  std::atomic<bool> ready{false};
  char path[PATH_MAX] = {};
};

static_assert(std::atomic<bool>::is_always_lock_free, "the handler reads these flags");

RemovableFolder g_folders[kMaxRemovableFolders];

// The fixed part of a directory entry as getdents64 returns it.
struct DirectoryEntry {
  uint64_t inode;
  int64_t next;
  unsigned short length;
  unsigned char type;
  char name[1];
};

bool IsDotOrDotDot(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

void RemoveContents(int folder, int depth);

// Removes entry `name` of `folder`, a subfolder with its contents.
void RemoveEntry(int folder, const char* name, int depth) {
  if (unlinkat(folder, name, 0) == 0 || errno != EISDIR || depth >= kDeepestSubfolder) return;
  const int subfolder = openat(folder, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (subfolder < 0) return;
  RemoveContents(subfolder, depth + 1);
  close(subfolder);
  unlinkat(folder, name, AT_REMOVEDIR);
}

// Removes every entry of the open folder `folder`; async-signal-safe.
void RemoveContents(int folder, int depth) {
  alignas(8) char buffer[4096];
  for (int pass = 0; pass < kRemovalPasses; ++pass) {
    if (lseek(folder, 0, SEEK_SET) != 0) return;
    bool found = false;
    ssize_t size;
    while ((size = getdents64(folder, buffer, sizeof buffer)) > 0) {
      for (ssize_t at = 0; at < size;) {
        const auto* entry = reinterpret_cast<const DirectoryEntry*>(buffer + at);
        at += entry->length;
        if (IsDotOrDotDot(entry->name)) continue;
        found = true;
        RemoveEntry(folder, entry->name, depth);
      }
    }
    if (!found) return;
  }
}

void RemoveFolder(const char* path) {
  const int folder = open(path, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (folder < 0) return;
  RemoveContents(folder, 0);
  close(folder);
  rmdir(path);
}

void OnTerminatingSignal(int signal_number) {
  const int saved_errno = errno;
  for (RemovableFolder& folder : g_folders) {
    if (folder.ready.load(std::memory_order_acquire)) RemoveFolder(folder.path);
  }
  // The signal stays blocked until the handler returns; it is then delivered
  // again with its default action and ends the process.
  struct sigaction default_action = {};
  default_action.sa_handler = SIG_DFL;
  sigemptyset(&default_action.sa_mask);
  sigaction(signal_number, &default_action, nullptr);
  raise(signal_number);
  errno = saved_errno;
}

void InstallHandlers() {
  struct sigaction action = {};
  action.sa_handler = OnTerminatingSignal;
  sigemptyset(&action.sa_mask);
  // One cleanup at a time in a thread: the other signals wait for it.
  for (int signal_number : kTerminatingSignals) sigaddset(&action.sa_mask, signal_number);
  for (int signal_number : kTerminatingSignals) {
    struct sigaction current = {};
    if (sigaction(signal_number, nullptr, &current) != 0) continue;
    if ((current.sa_flags & SA_SIGINFO) != 0 || current.sa_handler != SIG_DFL) continue;
    sigaction(signal_number, &action, nullptr);
  }
}

}  // namespace

int RegisterFolderForSignalRemoval(const char* path) {
  static std::once_flag installed;
  std::call_once(installed, InstallHandlers);
  const size_t length = strlen(path);
  if (length >= PATH_MAX) return -1;
  for (int i = 0; i < kMaxRemovableFolders; ++i) {
    bool expected = false;
    if (!g_folders[i].claimed.compare_exchange_strong(expected, true, std::memory_order_acq_rel)) continue;
    memcpy(g_folders[i].path, path, length + 1);
    g_folders[i].ready.store(true, std::memory_order_release);
    return i;
  }
  return -1;
}

void UnregisterFolderForSignalRemoval(int registration) {
  if (registration < 0 || registration >= kMaxRemovableFolders) return;
  g_folders[registration].ready.store(false, std::memory_order_release);
  g_folders[registration].claimed.store(false, std::memory_order_release);
}

}  // namespace edb
