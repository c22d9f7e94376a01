#include "tests/support/path_recorder.h"

namespace tw::test {

FindHandle PathRecorder::Files::FindFirst(const char* pattern, FindData* data) {
  recorder_.Record("FindFirst", pattern);
  return inner_.FindFirst(pattern, data);
}

std::uint32_t PathRecorder::Files::GetAttributes(const char* path) {
  recorder_.Record("GetAttributes", path);
  return inner_.GetAttributes(path);
}

bool PathRecorder::Files::SetAttributes(const char* path, std::uint32_t attributes) {
  recorder_.Record("SetAttributes", path);
  return inner_.SetAttributes(path, attributes);
}

bool PathRecorder::Files::MaySetAttributes(const char* path) {
  recorder_.Record("MaySetAttributes", path);
  return inner_.MaySetAttributes(path);
}

bool PathRecorder::Files::IsPlainFile(const char* path) {
  recorder_.Record("IsPlainFile", path);
  return inner_.IsPlainFile(path);
}

bool PathRecorder::Files::RemoveFile(const char* path) {
  recorder_.Record("RemoveFile", path);
  return inner_.RemoveFile(path);
}

bool PathRecorder::Files::RemoveFolder(const char* path) {
  recorder_.Record("RemoveFolder", path);
  return inner_.RemoveFolder(path);
}

bool PathRecorder::Files::MayRemove(const char* path, bool folder) {
  recorder_.Record("MayRemove", path);
  return inner_.MayRemove(path, folder);
}

std::optional<std::string> PathRecorder::User::FinalFolderPath(const std::string& path) {
  recorder_.Record("FinalFolderPath", path);
  return inner_.FinalFolderPath(path);
}

ComResult PathRecorder::Links::Update(const char* targetPath, const char* linkPath, const char* workingDirectory) {
  recorder_.Record("UpdateLink", linkPath);
  return inner_.Update(targetPath, linkPath, workingDirectory);
}

ComResult PathRecorder::Links::Read(const char* linkPath, ShortcutTarget* target) {
  recorder_.Record("ReadLink", linkPath);
  return inner_.Read(linkPath, target);
}

ComResult PathRecorder::Links::MayUpdate(const char* linkPath) {
  recorder_.Record("MayUpdateLink", linkPath);
  return inner_.MayUpdate(linkPath);
}

}  // namespace tw::test
