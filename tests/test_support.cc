// Helpers shared by every test program.
#include "test_support.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <sys/wait.h>

namespace edbtest {

std::filesystem::path RealDatabase(const std::string& name) {
  return std::filesystem::path(EDB_TESTDATA_DIR) / name;
}

std::filesystem::path SampleStore() { return EDB_SAMPLE_STORE; }

std::filesystem::path Program(const std::string& name) {
  return std::filesystem::path(EDB_BIN_DIR) / name;
}

ScratchDir::ScratchDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "edbtest-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

int RunCommand(const std::string& command, std::string* out) {
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return -1;
  std::array<char, 4096> buffer;
  size_t n;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
    if (out != nullptr) out->append(buffer.data(), n);
  }
  int status = pclose(pipe);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace edbtest
