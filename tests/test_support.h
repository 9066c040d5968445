// Helpers shared by every test program: where the test databases are, and a
// scratch folder per test that is removed afterwards.
#pragma once

#include <filesystem>
#include <string>

namespace edbtest {

// Path of a database written by Windows' own ESE engine ("basic.edb", ...).
std::filesystem::path RealDatabase(const std::string& name);

// Path of the bundled sample store generated at build time.
std::filesystem::path SampleStore();

// Path of a program built with the project ("edbrecover", "edbgen").
std::filesystem::path Program(const std::string& name);

// A fresh, empty folder that is removed with its contents on destruction.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// Runs a shell command; returns its exit code and fills standard output.
int RunCommand(const std::string& command, std::string* out);

}  // namespace edbtest
