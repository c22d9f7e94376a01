// The test file system with the calls that change the disk recorded, and
// directory searches that can be made to break off.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tests/support/test_services.h"

namespace tw::test {

class WatchedFileSystem : public TestFileSystem {
 public:
  using TestFileSystem::TestFileSystem;

  bool FindNext(FindHandle search, FindData* data) override;
  bool SetAttributes(const char* path, std::uint32_t attributes) override;
  bool RemoveFile(const char* path) override;
  bool RemoveFolder(const char* path) override;
  // The injected search failure until the next FindNext or change.
  Status LastError() override;

  // Runs before each change with its path: what another process may do in between.
  std::function<void(const std::string& path)> beforeChange;
  // "RemoveFile <path>", "RemoveFolder <path>", "SetAttributes <path>", in call order.
  std::vector<std::string> changes;
  // After this many more successful FindNext calls, FindNext fails with searchFailure.
  int findNextsBeforeFailure = -1;
  Status searchFailure = kErrorAccessDenied;

 private:
  bool failed_ = false;
};

}  // namespace tw::test
