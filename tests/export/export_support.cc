// Reading a target store back through Python's parsers.
#include "export/export_support.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace edbtest {
namespace {
// Debian's own interpreter, where python3-vobject and python3-icalendar are
// installed (a python3 earlier on PATH may not have them).
constexpr const char* kPython = "/usr/bin/python3";
}  // namespace

nlohmann::json ReadTargetStore(const std::filesystem::path& store, const std::string& format) {
  const std::filesystem::path script = std::filesystem::path(EDB_TESTS_SOURCE_DIR) / "export" / "read_target.py";
  std::string out;
  const int code = RunCommand(std::string(kPython) + " '" + script.string() + "' '" + store.string() + "' " + format, &out);
  EXPECT_EQ(code, 0) << out;
  if (code != 0) return nullptr;
  return nlohmann::json::parse(out);
}

std::string AllByteValues() {
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
  bytes += "\r\nFrom the end\n.\n";
  return bytes;
}

edb::MailAttachment Attachment(std::string name, std::string data) {
  return {std::move(name), [data] { return edb::Result<std::string>(data); }};
}

int CountFiles(const std::filesystem::path& root) {
  int count = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    if (entry.is_regular_file()) ++count;
  }
  return count;
}

}  // namespace edbtest
