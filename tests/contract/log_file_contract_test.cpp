// The change log's file: appended to and never truncated, and never written
// through a link, a second name or into a folder.
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "tests/contract/contract_test.h"

namespace tw::contract {
namespace {

namespace fs = std::filesystem;

class LogFileContract : public ContractTest {
 protected:
  std::string Content(const std::string& name) const {
    std::ifstream in(world->Host(FilePath(name)), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  void Put(const std::string& name, const std::string& content) {
    std::ofstream(world->Host(FilePath(name)), std::ios::binary) << content;
  }
  Status OpenAndAppend(const std::string& name, const std::string& line) {
    auto log = world->MakeLogFile();
    const Status status = log->Open(FilePath(name).c_str());
    if (status == kErrorSuccess) {
      EXPECT_EQ(log->AppendLine(line), kErrorSuccess);
    }
    return status;
  }
};

TEST_F(LogFileContract, CreatesTheFileThenAppendsToItLineByLine) {
  EXPECT_EQ(OpenAndAppend("new.log", "first"), kErrorSuccess);
  EXPECT_EQ(Content("new.log"), "first\r\n");
  Put("old.log", "kept");
  auto log = world->MakeLogFile();
  ASSERT_EQ(log->Open(FilePath("old.log").c_str()), kErrorSuccess);
  EXPECT_EQ(log->AppendLine("one"), kErrorSuccess);
  EXPECT_EQ(Content("old.log"), "keptone\r\n");  // on disk at once, before the file is closed
  EXPECT_EQ(log->AppendLine("二"), kErrorSuccess);
  EXPECT_EQ(Content("old.log"), "keptone\r\n二\r\n");
  EXPECT_TRUE(std::regex_match(log->LocalTime(), std::regex(R"(20\d\d-[01]\d-[0-3]\d [0-2]\d:[0-5]\d:[0-5]\d)")));
}

TEST_F(LogFileContract, RefusesFoldersMissingFoldersAndFilesWithASecondName) {
  MakeFolder("folder");
  EXPECT_NE(OpenAndAppend("folder", "x"), kErrorSuccess);
  EXPECT_EQ(OpenAndAppend("missing\\run.log", "x"), kErrorPathNotFound);
  Put("target.log", "target");
  fs::create_hard_link(world->Host(FilePath("target.log")), world->Host(FilePath("hard.log")));
  EXPECT_EQ(OpenAndAppend("hard.log", "x"), kErrorAccessDenied);
  EXPECT_EQ(Content("target.log"), "target");
}

TEST_F(LogFileContract, NeverWritesThroughALinkStandingAtThePath) {
  Put("target.log", "target");
  std::error_code error;
  fs::create_symlink(world->Host(FilePath("target.log")), world->Host(FilePath("link.log")), error);
  fs::create_symlink(world->Host(FilePath("planted.dll")), world->Host(FilePath("dangling.log")), error);
  if (error) GTEST_SKIP() << "no symbolic links here: " << error.message();
  EXPECT_NE(OpenAndAppend("link.log", "x"), kErrorSuccess);
  EXPECT_NE(OpenAndAppend("dangling.log", "x"), kErrorSuccess);
  EXPECT_EQ(Content("target.log"), "target");
  EXPECT_FALSE(fs::exists(world->Host(FilePath("planted.dll"))));
}

TEST_F(LogFileContract, NeverWritesThroughALinkOrJunctionInItsFolders) {
  MakeFolder("elsewhere");
  Put("elsewhere\\run.log", "target");
  std::error_code error;
  fs::create_directory_symlink(world->Host(FilePath("elsewhere")), world->Host(FilePath("linked")), error);
  if (error) GTEST_SKIP() << "no symbolic links here: " << error.message();
  EXPECT_NE(OpenAndAppend("linked\\run.log", "x"), kErrorSuccess);
  EXPECT_NE(OpenAndAppend("linked\\new.log", "x"), kErrorSuccess);
  EXPECT_EQ(Content("elsewhere\\run.log"), "target");
  EXPECT_FALSE(fs::exists(world->Host(FilePath("elsewhere\\new.log"))));
}

}  // namespace
}  // namespace tw::contract
