// Scratch file creation and hand-over.
#include "ese/scratch_file.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>
#include <system_error>

namespace esewriter {

ScratchFile::ScratchFile(const std::filesystem::path& directory) {
  const std::filesystem::path folder = directory.empty() ? std::filesystem::temp_directory_path() : directory;
  std::string pattern = (folder / "esewriter-XXXXXX").string();
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0)
    throw std::runtime_error("cannot create a scratch file in " + folder.string() + ": " + std::strerror(errno));
  // mkstemp makes the file private; the database gets ordinary permissions.
  ::fchmod(fd, 0644);
  ::close(fd);
  path_ = pattern;
}

ScratchFile::~ScratchFile() {
  if (moved_) return;
  std::error_code ignored;
  std::filesystem::remove(path_, ignored);
}

void ScratchFile::MoveTo(const std::filesystem::path& target) {
  std::error_code error;
  std::filesystem::rename(path_, target, error);
  if (error == std::errc::cross_device_link) {
    error.clear();
    std::filesystem::copy_file(path_, target, std::filesystem::copy_options::overwrite_existing, error);
    if (error) throw std::runtime_error("cannot write " + target.string() + ": " + error.message());
    return;  // the destructor removes the scratch copy
  }
  if (error) throw std::runtime_error("cannot write " + target.string() + ": " + error.message());
  moved_ = true;
}

}  // namespace esewriter
