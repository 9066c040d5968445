// The private scratch folder of the process.
#include "base/private_temp_folder.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <stdexcept>

#include "base/safe_file_name.h"

namespace edb {

PrivateTempFolder::PrivateTempFolder() : PrivateTempFolder(std::filesystem::temp_directory_path()) {}

PrivateTempFolder::PrivateTempFolder(const std::filesystem::path& parent) {
  std::string pattern = (parent / "test1-XXXXXX").string();
  // mkdtemp creates the folder with mode 0700 and a name nobody can guess.
  if (mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("cannot create a temporary folder under " + parent.string());
  }
  path_ = pattern;
}

PrivateTempFolder::~PrivateTempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path PrivateTempFolder::UniqueFilePath(const std::u16string& untrusted_name) {
  const std::string name = SafeFileName(untrusted_name);
  const std::filesystem::path as_path(name);
  std::string candidate = name;
  std::error_code ignored;
  for (int n = 2; handed_out_.count(candidate) > 0 || std::filesystem::exists(path_ / candidate, ignored); ++n) {
    candidate = as_path.stem().string() + " (" + std::to_string(n) + ")" + as_path.extension().string();
  }
  handed_out_.insert(candidate);
  return path_ / candidate;
}

}  // namespace edb
