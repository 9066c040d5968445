// The fallback chain that moves a finished file into place without
// replacing: hard link, RENAME_NOREPLACE, then an exclusive claim of the
// final name that the file takes over.
#include "export/publish_without_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

namespace edb {
namespace {

std::string Reason(const std::filesystem::path& path, const char* what, int error) {
  return path.string() + ": " + what + ": " + std::strerror(error);
}

// Closes a descriptor when it goes out of scope.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  // Closes now, reporting the close's own error (0 or errno).
  int Close() {
    const int result = ::close(fd_) == 0 ? 0 : errno;
    fd_ = -1;
    return result;
  }

 private:
  int fd_;
};

// Removes a path when it goes out of scope, unless released.
class RemoveOnExit {
 public:
  explicit RemoveOnExit(std::filesystem::path path) : path_(std::move(path)) {}
  RemoveOnExit(const RemoveOnExit&) = delete;
  RemoveOnExit& operator=(const RemoveOnExit&) = delete;
  ~RemoveOnExit() {
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  void Release() { path_.clear(); }

 private:
  std::filesystem::path path_;
};

int SystemRenameNoReplace(const char* from, const char* to) {
  return ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
}

// Errors of link() that mean "no hard links here", not "cannot write here".
bool HardLinksUnavailable(int error) {
  return error == EPERM || error == ENOTSUP || error == EOPNOTSUPP || error == EXDEV || error == EMLINK ||
         error == ENOSYS;
}

// Errors of renameat2() that mean the flag or the call is unknown here, or
// that the two names are on different file systems (only a copy helps).
bool NoReplaceRenameUnavailable(int error) {
  return error == EINVAL || error == ENOSYS || error == ENOTSUP || error == EOPNOTSUPP || error == EXDEV;
}

// The claim a cut-off writer of ours left: an empty regular file that no one
// may read or write. No export writes such a file as content.
bool IsAbandonedClaim(const std::filesystem::path& path) {
  struct stat status {};
  if (::lstat(path.c_str(), &status) != 0) return false;
  return S_ISREG(status.st_mode) && status.st_size == 0 && (status.st_mode & 07777) == 0;
}

// A name beside `final_path`, hidden from Maildir readers (they skip dot
// files), for a copy that must end up on the final name's file system.
std::filesystem::path HiddenSiblingName(const std::filesystem::path& final_path) {
  static std::atomic<unsigned long> counter{0};
  return final_path.parent_path() / ("." + final_path.filename().string().substr(0, 100) + "." +
                                     std::to_string(::getpid()) + "." + std::to_string(counter++) + ".part");
}

// Copies `from` into a new file `to` (created exclusively), synced.
Status CopyFile(const std::filesystem::path& from, const std::filesystem::path& to) {
  FileDescriptor source(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
  if (source.get() < 0) return Status::IoError(Reason(from, "cannot read", errno));
  FileDescriptor target(::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
  if (target.get() < 0) return Status::IoError(Reason(to, "cannot create", errno));
  char buffer[1 << 16];
  for (;;) {
    const ssize_t got = ::read(source.get(), buffer, sizeof(buffer));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return Status::IoError(Reason(from, "cannot read", errno));
    if (got == 0) break;
    for (ssize_t done = 0; done < got;) {
      const ssize_t written = ::write(target.get(), buffer + done, static_cast<size_t>(got - done));
      if (written < 0 && errno == EINTR) continue;
      if (written < 0) return Status::IoError(Reason(to, "cannot write", errno));
      done += written;
    }
  }
  if (::fsync(target.get()) != 0) return Status::IoError(Reason(to, "cannot write", errno));
  if (const int error = target.Close(); error != 0) return Status::IoError(Reason(to, "cannot write", error));
  return Status::Ok();
}

// Replaces our claim on `final_path` with the file `temp`: by rename, or,
// across file systems, by a copy beside the claim renamed over it. On
// failure the claim is removed, so the final name is absent.
Result<NewFileOutcome> TakeOverClaim(const std::filesystem::path& temp, const std::filesystem::path& final_path,
                                     const PublishCalls& calls) {
  RemoveOnExit claim(final_path);
  if (calls.rename(temp.c_str(), final_path.c_str()) == 0) {
    claim.Release();
    return NewFileOutcome::kWritten;
  }
  const int error = errno;
  if (error != EXDEV) return Status::IoError(Reason(final_path, "cannot create", error));
  const std::filesystem::path copy = HiddenSiblingName(final_path);
  RemoveOnExit copy_removal(copy);
  if (Status copied = CopyFile(temp, copy); !copied.ok()) return copied;
  if (calls.rename(copy.c_str(), final_path.c_str()) != 0) {
    return Status::IoError(Reason(final_path, "cannot create", errno));
  }
  copy_removal.Release();
  claim.Release();
  return NewFileOutcome::kWritten;
}

// The final name is taken: by a file we leave alone, or by a claim of an
// earlier run that was cut off, which this file takes over.
Result<NewFileOutcome> FinalNameTaken(const std::filesystem::path& temp, const std::filesystem::path& final_path,
                                      const PublishCalls& calls) {
  if (!IsAbandonedClaim(final_path)) return NewFileOutcome::kExisted;
  return TakeOverClaim(temp, final_path, calls);
}

// Claims the final name with an exclusive create, then takes it over.
Result<NewFileOutcome> PublishThroughClaim(const std::filesystem::path& temp, const std::filesystem::path& final_path,
                                           const PublishCalls& calls) {
  FileDescriptor claim(::open(final_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0));
  if (claim.get() < 0) {
    const int error = errno;
    if (error == EEXIST) return FinalNameTaken(temp, final_path, calls);
    return Status::IoError(Reason(final_path, "cannot create", error));
  }
  // open() applies the umask to 0, so the claim's mode is 0000 as
  // IsAbandonedClaim expects; make sure of it on file systems that differ.
  (void)::fchmod(claim.get(), 0);
  claim.Close();
  return TakeOverClaim(temp, final_path, calls);
}

}  // namespace

const PublishCalls& SystemPublishCalls() {
  static const PublishCalls calls{&::link, &SystemRenameNoReplace, &::rename};
  return calls;
}

Result<NewFileOutcome> PublishWithoutReplace(const std::filesystem::path& temp,
                                             const std::filesystem::path& final_path, const PublishCalls& calls) {
  RemoveOnExit temp_removal(temp);
  if (calls.link(temp.c_str(), final_path.c_str()) == 0) return NewFileOutcome::kWritten;
  int error = errno;
  if (error == EEXIST) return FinalNameTaken(temp, final_path, calls);
  if (!HardLinksUnavailable(error)) return Status::IoError(Reason(final_path, "cannot create", error));

  if (calls.rename_noreplace(temp.c_str(), final_path.c_str()) == 0) return NewFileOutcome::kWritten;
  error = errno;
  if (error == EEXIST) return FinalNameTaken(temp, final_path, calls);
  if (!NoReplaceRenameUnavailable(error)) return Status::IoError(Reason(final_path, "cannot create", error));

  return PublishThroughClaim(temp, final_path, calls);
}

}  // namespace edb
