// The private temporary folder of a real edbrecover process is removed when
// the process is ended by a signal: its reader closing the pipe early
// (`edbrecover list ... | head -1`, SIGPIPE), kill (SIGTERM), Ctrl+C
// (SIGINT), a closed terminal (SIGHUP). The process then ends with that
// signal, as it would without the cleanup.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "test_support.h"

namespace {

namespace fs = std::filesystem;

// edbrecover running with its standard output on a pipe to us and its
// temporary path set to `temp_parent`.
class RunningEdbrecover {
 public:
  RunningEdbrecover(const std::vector<std::string>& arguments, const fs::path& temp_parent) {
    int fds[2];
    if (pipe(fds) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(fds[1], STDOUT_FILENO);
      const int null = open("/dev/null", O_WRONLY);
      dup2(null, STDERR_FILENO);
      close(fds[0]);
      close(fds[1]);
      // The signals' default actions, whatever the test runner set.
      for (int signal_number : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) signal(signal_number, SIG_DFL);
      sigset_t none;
      sigemptyset(&none);
      sigprocmask(SIG_SETMASK, &none, nullptr);
      setenv("TMPDIR", temp_parent.c_str(), 1);
      const std::string program = edbtest::Program("edbrecover").string();
      std::vector<char*> argv = {const_cast<char*>(program.c_str())};
      for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
      argv.push_back(nullptr);
      execv(program.c_str(), argv.data());
      _exit(127);
    }
    close(fds[1]);
    out_ = fds[0];
  }
  ~RunningEdbrecover() {
    CloseOutput();
    if (pid_ > 0 && !waited_) {
      kill(pid_, SIGKILL);
      Wait();
    }
  }
  RunningEdbrecover(const RunningEdbrecover&) = delete;
  RunningEdbrecover& operator=(const RunningEdbrecover&) = delete;

  bool started() const { return pid_ > 0 && out_ >= 0; }

  // Reads up to and including the first line feed; false at the end.
  bool ReadFirstLine() {
    char byte = 0;
    while (read(out_, &byte, 1) == 1) {
      if (byte == '\n') return true;
    }
    return false;
  }

  void CloseOutput() {
    if (out_ >= 0) close(out_);
    out_ = -1;
  }

  void Signal(int signal_number) { kill(pid_, signal_number); }

  // The signal that ended the process, or 0 when it exited.
  int Wait() {
    int status = 0;
    if (waitpid(pid_, &status, 0) != pid_) return -1;
    waited_ = true;
    return WIFSIGNALED(status) ? WTERMSIG(status) : 0;
  }

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  bool waited_ = false;
};

size_t FilesBelow(const fs::path& folder) {
  size_t files = 0;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) ++files;
  }
  return files;
}

// A store whose one folder (wide layout) lists far more than a pipe holds,
// so that `list` is still writing when its reader stops, and whose rows
// each leave a file in the temporary folder.
class SignalCleanupTest : public ::testing::Test {
 protected:
  static constexpr int kItems = 1500;

  static void SetUpTestSuite() {
    dir_ = new edbtest::ScratchDir();
    nlohmann::json items = nlohmann::json::array();
    for (int i = 0; i < kItems; ++i) {
      char key[17];
      std::snprintf(key, sizeof key, "5d0000001%07x", i + 1);
      items.push_back({{"key", key},
                       {"class", "IPM.Note"},
                       {"subject", "Item " + std::to_string(i) + " of a folder longer than any pipe holds"},
                       {"contents_blob",
                        {{"name", "blob" + std::to_string(i) + ".bin"}, {"data", "data"}, {"repeat", 300}}}});
    }
    const nlohmann::json description = {
        {"mailboxes",
         {{{"key", "3c00000000001001"},
           {"display_name", "Mailbox - Many Files"},
           {"folders",
            {{{"id", "1000000000020a0"}, {"display_name", "Top of Information Store"}},
             {{"id", "1000000000020a1"},
              {"parent", "1000000000020a0"},
              {"display_name", "Projekte"},
              {"layout", "wide"},
              {"items", items}}}}}}}};
    const std::string description_path = (*dir_ / "many.json").string();
    std::ofstream(description_path) << description.dump();
    store_ = (*dir_ / "many.edb").string();
    std::string out;
    ASSERT_EQ(edbtest::RunCommand(
                  edbtest::Program("edbgen").string() + " json '" + description_path + "' '" + store_ + "' 2>&1", &out),
              0)
        << out;
  }
  static void TearDownTestSuite() { delete dir_; }

  std::vector<std::string> ListFolder() const { return {"list", store_, "1-20A1"}; }

  edbtest::ScratchDir temp_parent_;
  static edbtest::ScratchDir* dir_;
  static std::string store_;
};

edbtest::ScratchDir* SignalCleanupTest::dir_ = nullptr;
std::string SignalCleanupTest::store_;

TEST_F(SignalCleanupTest, ReaderClosingThePipeEarlyLeavesNoTemporaryFolder) {
  RunningEdbrecover list(ListFolder(), temp_parent_.path());
  ASSERT_TRUE(list.started());
  ASSERT_TRUE(list.ReadFirstLine());
  list.CloseOutput();
  EXPECT_EQ(list.Wait(), SIGPIPE);
  EXPECT_TRUE(fs::is_empty(temp_parent_.path()));
}

class SignalCleanupBySignalTest : public SignalCleanupTest, public ::testing::WithParamInterface<int> {};

TEST_P(SignalCleanupBySignalTest, SignalEndsTheProcessAndRemovesTheTemporaryFolder) {
  const int signal_number = GetParam();
  RunningEdbrecover list(ListFolder(), temp_parent_.path());
  ASSERT_TRUE(list.started());
  // Output has begun: the scan is over and its files are written; the
  // process now waits for us to read on.
  ASSERT_TRUE(list.ReadFirstLine());
  EXPECT_EQ(FilesBelow(temp_parent_.path()), static_cast<size_t>(kItems));
  list.Signal(signal_number);
  EXPECT_EQ(list.Wait(), signal_number);
  EXPECT_TRUE(fs::is_empty(temp_parent_.path()));
}

INSTANTIATE_TEST_SUITE_P(Signals, SignalCleanupBySignalTest, ::testing::Values(SIGTERM, SIGINT, SIGHUP),
                         [](const ::testing::TestParamInfo<int>& info) { return std::string(sigabbrev_np(info.param)); });

}  // namespace
