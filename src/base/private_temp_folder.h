// The process's private scratch folder: attachment data, scratch files of
// body decoding and exported values land here. Created with mode 0700 under
// the system temporary path with a unique name beginning "test1", and
// removed with its contents when the owner is destroyed.
#pragma once

#include <filesystem>
#include <set>
#include <string>

namespace edb {

class PrivateTempFolder {
 public:
  // Creates the folder; throws std::runtime_error when it cannot.
  PrivateTempFolder();
  // Creates it under `parent` instead of the system temporary path.
  explicit PrivateTempFolder(const std::filesystem::path& parent);
  ~PrivateTempFolder();
  PrivateTempFolder(const PrivateTempFolder&) = delete;
  PrivateTempFolder& operator=(const PrivateTempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

  // A path inside the folder for a file named after `untrusted_name` (a
  // name from the database): reduced to one safe component, and made
  // distinct from every path handed out before, so two values with the same
  // name never overwrite each other.
  std::filesystem::path UniqueFilePath(const std::u16string& untrusted_name);

 private:
  std::filesystem::path path_;
  std::set<std::string> handed_out_;
};

}  // namespace edb
