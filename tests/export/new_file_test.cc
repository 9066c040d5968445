// New files on file systems with and without hard links or RENAME_NOREPLACE:
// the failures are acted out through PublishCalls, and every route must
// write the bytes whole, leave an existing file alone and leave no
// temporary or claim behind.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <fstream>
#include <sstream>

#include "export/new_file.h"
#include "export_readback.h"
#include "test_support.h"

namespace edb {
namespace {

// Which route a file system offers: the errno its link() and renameat2()
// give, or 0 when the call works there. Captureless lambdas cannot see
// test state, so the file system acted out lives in these globals.
int g_link_error = 0;
int g_rename_noreplace_error = 0;
int g_rename_error = 0;

int FakeLink(const char* from, const char* to) {
  if (g_link_error == 0) return SystemPublishCalls().link(from, to);
  errno = g_link_error;
  return -1;
}
int FakeRenameNoReplace(const char* from, const char* to) {
  if (g_rename_noreplace_error == 0) return SystemPublishCalls().rename_noreplace(from, to);
  errno = g_rename_noreplace_error;
  return -1;
}
// Fails only for the file from the temporary folder, so a copy made beside
// the final name can still be renamed (as across two file systems).
int FakeRename(const char* from, const char* to) {
  if (g_rename_error != 0 && std::filesystem::path(from).parent_path().filename() == "tmp") {
    errno = g_rename_error;
    return -1;
  }
  return SystemPublishCalls().rename(from, to);
}
const PublishCalls kFakeCalls{&FakeLink, &FakeRenameNoReplace, &FakeRename};

std::string Contents(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

mode_t Permissions(const std::filesystem::path& path) {
  struct stat status {};
  EXPECT_EQ(::lstat(path.c_str(), &status), 0) << path;
  return status.st_mode & 07777;
}

struct FileSystem {
  const char* name;
  int link_error;
  int rename_noreplace_error;
  int rename_error;
};

std::ostream& operator<<(std::ostream& out, const FileSystem& fs) { return out << fs.name; }

class NewFileOn : public ::testing::TestWithParam<FileSystem> {
 protected:
  void SetUp() override {
    g_link_error = GetParam().link_error;
    g_rename_noreplace_error = GetParam().rename_noreplace_error;
    g_rename_error = GetParam().rename_error;
    std::filesystem::create_directories(scratch_ / "tmp");
    std::filesystem::create_directories(scratch_ / "cur");
  }
  void TearDown() override { g_link_error = g_rename_noreplace_error = g_rename_error = 0; }

  Result<NewFileOutcome> Write(const std::string& name, const std::string& bytes) {
    return WriteNewFile(scratch_ / "cur" / name, bytes, scratch_ / "tmp", kFakeCalls);
  }
  // Files in cur/ and tmp/, hidden ones included.
  int FileCount() const { return edbtest::CountFiles(scratch_.path()); }

  edbtest::ScratchDir scratch_;
};

TEST_P(NewFileOn, WritesWholeFilesAndNeverReplaces) {
  const std::string big(200000, 'x');
  Result<NewFileOutcome> first = Write("m1", big);
  ASSERT_TRUE(first.ok()) << first.status().reason();
  EXPECT_EQ(*first, NewFileOutcome::kWritten);
  EXPECT_EQ(Contents(scratch_ / "cur" / "m1"), big);
  EXPECT_EQ(Permissions(scratch_ / "cur" / "m1") & 0600, 0600u) << "readable like any new file";

  Result<NewFileOutcome> again = Write("m1", "other bytes");
  ASSERT_TRUE(again.ok()) << again.status().reason();
  EXPECT_EQ(*again, NewFileOutcome::kExisted);
  EXPECT_EQ(Contents(scratch_ / "cur" / "m1"), big);

  // An empty file that is ours to keep (a Maildir's "maildirfolder") is
  // content too, not a claim.
  ASSERT_TRUE(Write("empty", "").ok());
  EXPECT_EQ(*Write("empty", "x"), NewFileOutcome::kExisted);
  EXPECT_EQ(Contents(scratch_ / "cur" / "empty"), "");
  EXPECT_EQ(FileCount(), 2) << "no temporary, copy or claim is left";
}

TEST_P(NewFileOn, TakesOverTheClaimOfARunThatWasCutOff) {
  { std::ofstream(scratch_ / "cur" / "m2"); }
  ASSERT_EQ(::chmod((scratch_ / "cur" / "m2").c_str(), 0), 0);
  Result<NewFileOutcome> outcome = Write("m2", "resumed");
  ASSERT_TRUE(outcome.ok()) << outcome.status().reason();
  EXPECT_EQ(*outcome, NewFileOutcome::kWritten);
  EXPECT_EQ(Contents(scratch_ / "cur" / "m2"), "resumed");
  EXPECT_NE(Permissions(scratch_ / "cur" / "m2"), 0u);
  EXPECT_EQ(FileCount(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Routes, NewFileOn,
    ::testing::Values(FileSystem{"HardLinks", 0, 0, 0}, FileSystem{"NoLinksEPERM", EPERM, 0, 0},
                      FileSystem{"NoLinksENOTSUP", ENOTSUP, 0, 0}, FileSystem{"NoLinksEMLINK", EMLINK, 0, 0},
                      FileSystem{"NoLinksNoFlagEINVAL", EPERM, EINVAL, 0},
                      FileSystem{"NoLinksNoRenameat2", EOPNOTSUPP, ENOSYS, 0},
                      FileSystem{"AcrossFileSystems", EXDEV, EXDEV, EXDEV}),
    [](const ::testing::TestParamInfo<FileSystem>& info) { return std::string(info.param.name); });

TEST(NewFile, AFailureNamesTheFileAndLeavesNothingBehind) {
  edbtest::ScratchDir scratch;
  std::filesystem::create_directories(scratch / "tmp");
  std::filesystem::create_directories(scratch / "cur");
  const PublishCalls refusing{
      [](const char*, const char*) { return errno = EACCES, -1; },
      [](const char*, const char*) { return errno = EACCES, -1; },
      [](const char*, const char*) { return errno = EACCES, -1; },
  };
  Result<NewFileOutcome> linked = WriteNewFile(scratch / "cur" / "a", "x", scratch / "tmp", refusing);
  ASSERT_FALSE(linked.ok());
  EXPECT_NE(linked.status().reason().find((scratch / "cur" / "a").string()), std::string::npos);

  // Only the last step fails: the claim made for it must go too.
  const PublishCalls claim_then_fail{
      [](const char*, const char*) { return errno = EPERM, -1; },
      [](const char*, const char*) { return errno = EINVAL, -1; },
      [](const char*, const char*) { return errno = EIO, -1; },
  };
  Result<NewFileOutcome> claimed = WriteNewFile(scratch / "cur" / "b", "x", scratch / "tmp", claim_then_fail);
  ASSERT_FALSE(claimed.ok());
  EXPECT_NE(claimed.status().reason().find((scratch / "cur" / "b").string()), std::string::npos);
  EXPECT_EQ(edbtest::CountFiles(scratch.path()), 0);
}

TEST(NewFile, DroppedUncommittedLeavesNothing) {
  edbtest::ScratchDir scratch;
  {
    Result<NewFile> file = NewFile::Create(scratch / "final", scratch.path());
    ASSERT_TRUE(file.ok());
    ASSERT_TRUE(file->Append("partial").ok());
  }
  EXPECT_EQ(edbtest::CountFiles(scratch.path()), 0);
}

}  // namespace
}  // namespace edb
