// A uniquely named file that the database is streamed into before it is
// moved to its final name; removed unless moved.
#pragma once

#include <filesystem>

namespace esewriter {

class ScratchFile {
 public:
  // Creates an empty file in `directory` (the system temporary directory
  // when empty). Throws std::runtime_error when it cannot.
  explicit ScratchFile(const std::filesystem::path& directory);
  ~ScratchFile();
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  const std::filesystem::path& path() const { return path_; }

  // Moves the file to `target`, replacing it: a rename, or a copy when the
  // two are on different file systems. Throws std::runtime_error on failure.
  void MoveTo(const std::filesystem::path& target);

 private:
  std::filesystem::path path_;
  bool moved_ = false;
};

}  // namespace esewriter
