// A file that appears whole or not at all and never replaces one that
// exists: bytes go to a temporary name (in a directory of the caller's
// choice on the same file system, e.g. a Maildir's tmp/), and Commit links
// the finished file under its final name. Until Commit succeeds nothing is
// visible under the final name; a NewFile dropped uncommitted removes its
// temporary file. One thread at a time.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "base/status.h"

namespace edb {

enum class NewFileOutcome {
  kWritten,  // the file now exists under its final name, with our bytes
  kExisted,  // a file of that name was there already; it was left alone
};

class NewFile {
 public:
  // Creates a temporary file in `temp_directory` for final name `path`.
  static Result<NewFile> Create(const std::filesystem::path& path, const std::filesystem::path& temp_directory);

  NewFile(NewFile&& other) noexcept;
  NewFile& operator=(NewFile&& other) = delete;
  NewFile(const NewFile&) = delete;
  NewFile& operator=(const NewFile&) = delete;
  ~NewFile();

  // Appends bytes; an I/O error names the file.
  Status Append(std::string_view bytes);
  // Flushes, closes and links the file under its final name (no replace);
  // the temporary name is removed either way.
  Result<NewFileOutcome> Commit();

 private:
  NewFile(std::filesystem::path path, std::filesystem::path temp_path, int fd)
      : path_(std::move(path)), temp_path_(std::move(temp_path)), fd_(fd) {}
  void Discard();

  std::filesystem::path path_;
  std::filesystem::path temp_path_;
  int fd_ = -1;
};

// Writes `bytes` as a new file `path` through `temp_directory`.
Result<NewFileOutcome> WriteNewFile(const std::filesystem::path& path, std::string_view bytes,
                                    const std::filesystem::path& temp_directory);

}  // namespace edb
