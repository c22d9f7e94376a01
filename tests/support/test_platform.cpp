#include "tests/support/test_platform.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "app/message_ids.h"
#include "app/message_table.h"
#include "app/program_run.h"
#include "tests/support/portable/reg_file.h"
#include "registry/layout.h"
#if defined(_WIN32)
#include "platform/win32/win32_log_file.h"
#else
#include "tests/support/portable/disk_log_file.h"
#endif

namespace tw::test {

#if defined(_WIN32)
TestPlatform::TestPlatform() : files(drives.Path(), &codePage), messages(MessageTable(), IDS_APP_TITLE) {
  user.profile = "C:\\";
  links.files = &files;
}
#else
TestPlatform::TestPlatform()
    : registry(codePage), files(drives.Path(), &codePage), messages(MessageTable(), IDS_APP_TITLE) {
  user.profile = "C:\\";
  links.files = &files;
}
#endif

Platform TestPlatform::View() {
  return Platform{registry, files, processes, messages, links, engine, codePage, user, lock, notes};
}

void TestPlatform::LoadRegText(const std::string& text) {
  auto error = ImportRegText(registry, text);
  ASSERT_FALSE(error.has_value()) << *error;
}

std::string ReadFixture(const std::string& name) {
  std::ifstream in(std::string(TW_FIXTURES_DIR) + "/" + name, std::ios::binary);
  EXPECT_TRUE(in.good()) << "missing fixture " << name;
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void TestPlatform::LoadFixture(const std::string& name) { LoadRegText(ReadFixture(name)); }

std::string TestPlatform::Snapshot() {
  return ExportRegText(registry, kSnapshotKeys);
}

std::filesystem::path TestPlatform::Host(const std::string& windowsPath) const {
  auto host = files.HostPath(windowsPath);
  EXPECT_TRUE(host.has_value()) << windowsPath;
  return host.value_or(drives.Path() / "invalid");
}

void TestPlatform::WriteFile(const std::string& windowsPath, const std::string& content) {
  // The system's file calls fail on longer paths (and the standard library's
  // folder creation can loop on them).
  if (!kPortablePlatform) {
    ASSERT_LT(windowsPath.size(), layout::kPathCapacity) << windowsPath;
  }
  const auto host = Host(windowsPath);
  std::filesystem::create_directories(host.parent_path());
  std::ofstream(host, std::ios::binary) << content;
}

void TestPlatform::MakeFolder(const std::string& windowsPath) { std::filesystem::create_directories(Host(windowsPath)); }

bool TestPlatform::Exists(const std::string& windowsPath) const {
  std::error_code error;
  return std::filesystem::exists(std::filesystem::symlink_status(Host(windowsPath), error));
}

std::unique_ptr<UninstallApp> TestPlatform::MakeApp(const std::string& commandLine) {
  return std::make_unique<UninstallApp>(View(), commandLine, kInstance);
}

void TestPlatform::Run(const std::string& commandLine) { MakeApp(commandLine)->RunUninstall(); }

int TestPlatform::RunProgram(const std::string& commandLine) { return RunProgram(commandLine, registry); }

int TestPlatform::RunProgram(const std::string& commandLine, Registry& through) {
  return RunProgram(commandLine, Platform{through, files, processes, messages, links, engine, codePage, user, lock, notes});
}

int TestPlatform::RunProgram(const std::string& commandLine, const Platform& view) {
#if defined(_WIN32)
  Win32LogFile log;
#else
  DiskLogFile log(files);
#endif
  StreamStandardOutput output(standardOutput);
  return tw::RunProgram(view, log, output, commandLine, kInstance);
}

int TestPlatform::RunProgram(const std::string& commandLine, Registry& through, LogFile& log) {
  StreamStandardOutput output(standardOutput);
  return tw::RunProgram(View().With(through), log, output, commandLine, kInstance);
}

std::string TestPlatform::ReadFile(const std::string& windowsPath) const {
  std::ifstream in(Host(windowsPath), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace tw::test
