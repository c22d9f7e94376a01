#include "tests/support/watched_file_system.h"

namespace tw::test {

bool WatchedFileSystem::FindNext(FindHandle search, FindData* data) {
  failed_ = findNextsBeforeFailure == 0;
  if (failed_) return false;
  if (findNextsBeforeFailure > 0) --findNextsBeforeFailure;
  return TestFileSystem::FindNext(search, data);
}

bool WatchedFileSystem::SetAttributes(const char* path, std::uint32_t attributes) {
  failed_ = false;
  if (beforeChange) beforeChange(path);
  changes.push_back(std::string("SetAttributes ") + path);
  return TestFileSystem::SetAttributes(path, attributes);
}

bool WatchedFileSystem::RemoveFile(const char* path) {
  failed_ = false;
  if (beforeChange) beforeChange(path);
  changes.push_back(std::string("RemoveFile ") + path);
  return TestFileSystem::RemoveFile(path);
}

bool WatchedFileSystem::RemoveFolder(const char* path) {
  failed_ = false;
  if (beforeChange) beforeChange(path);
  changes.push_back(std::string("RemoveFolder ") + path);
  return TestFileSystem::RemoveFolder(path);
}

Status WatchedFileSystem::LastError() { return failed_ ? searchFailure : TestFileSystem::LastError(); }

}  // namespace tw::test
