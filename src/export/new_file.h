// A file that appears whole or not at all and never replaces one that
// exists: bytes go to a temporary name (in a directory of the caller's
// choice, e.g. a Maildir's tmp/), and Commit moves the finished file under
// its final name without replacing anything there (PublishWithoutReplace:
// a hard link, or its fallbacks on file systems without them). Before
// Commit nothing of ours is visible under the final name (during it, at
// most the empty unreadable claim of the last fallback); a NewFile dropped
// uncommitted removes its temporary file. One thread at a time.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "base/status.h"
#include "export/publish_without_replace.h"

namespace edb {

class NewFile {
 public:
  // Creates a temporary file in `temp_directory` for final name `path`;
  // `calls` (which must outlive the NewFile) move it into place.
  static Result<NewFile> Create(const std::filesystem::path& path, const std::filesystem::path& temp_directory,
                                const PublishCalls& calls = SystemPublishCalls());

  NewFile(NewFile&& other) noexcept;
  NewFile& operator=(NewFile&& other) = delete;
  NewFile(const NewFile&) = delete;
  NewFile& operator=(const NewFile&) = delete;
  ~NewFile();

  // Appends bytes; an I/O error names the file.
  Status Append(std::string_view bytes);
  // Closes the file and moves it under its final name (never replacing);
  // the temporary name is removed either way.
  Result<NewFileOutcome> Commit();

 private:
  NewFile(std::filesystem::path path, std::filesystem::path temp_path, int fd, const PublishCalls& calls)
      : path_(std::move(path)), temp_path_(std::move(temp_path)), fd_(fd), calls_(&calls) {}
  void Discard();

  std::filesystem::path path_;
  std::filesystem::path temp_path_;
  int fd_ = -1;
  const PublishCalls* calls_;
};

// Writes `bytes` as a new file `path` through `temp_directory`.
Result<NewFileOutcome> WriteNewFile(const std::filesystem::path& path, std::string_view bytes,
                                    const std::filesystem::path& temp_directory,
                                    const PublishCalls& calls = SystemPublishCalls());

}  // namespace edb
