#include "platform/overlay/overlay_file_system.h"

#include "platform/overlay/folded_path.h"

namespace tw {
namespace {

// Whether the path names a drive's root or less ("C:", "C:\").
bool IsRoot(const std::string& path) {
  const std::size_t end = path.find_last_not_of("\\/");
  return end == std::string::npos || end < 2;
}

}  // namespace

std::string OverlayFileSystem::FolderOf(const std::string& path) const {
  const std::size_t slash = LastSeparator(path, codePage_);
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool OverlayFileSystem::Deleted(const std::string& path) const {
  // The path or a folder above it.
  std::string key = FoldedPath(path, codePage_);
  for (;;) {
    const auto changed = attributes_.find(key);
    if (changed != attributes_.end() && changed->second == kInvalidFileAttributes) return true;
    const std::size_t slash = LastSeparator(key, codePage_);
    if (slash == std::string::npos || slash < 3) return false;
    key.resize(slash);
  }
}

bool OverlayFileSystem::Fail(Status error) {
  ownError_ = true;
  lastError_ = error;
  return false;
}

bool OverlayFileSystem::Succeed() {
  ownError_ = true;
  lastError_ = kErrorSuccess;
  return true;
}

bool OverlayFileSystem::SkipDeleted(FindHandle search, bool found, FindData* data) {
  const std::string& folder = searchFolders_[search];
  while (found && data->name != "." && data->name != ".." && Deleted(folder + data->name)) {
    found = machine_.FindNext(search, data);
  }
  ownError_ = false;
  if (!found) return false;
  const auto changed = attributes_.find(FoldedPath(folder + data->name, codePage_));
  if (changed != attributes_.end()) data->attributes = changed->second;
  return true;
}

FindHandle OverlayFileSystem::FindFirst(const char* pattern, FindData* data) {
  const std::string text = pattern ? pattern : "";
  if (Deleted(FolderOf(text))) {
    Fail(kErrorPathNotFound);
    return kInvalidFindHandle;
  }
  const FindHandle search = machine_.FindFirst(pattern, data);
  ownError_ = false;
  if (search == kInvalidFindHandle) return search;
  searchFolders_[search] = FolderOf(text);
  if (SkipDeleted(search, true, data)) return search;
  FindClose(search);
  Fail(kErrorFileNotFound);
  return kInvalidFindHandle;
}

bool OverlayFileSystem::FindNext(FindHandle search, FindData* data) {
  if (searchFolders_.count(search) == 0) return Fail(kErrorInvalidHandle);
  return SkipDeleted(search, machine_.FindNext(search, data), data);
}

bool OverlayFileSystem::FindClose(FindHandle search) {
  searchFolders_.erase(search);
  ownError_ = false;
  return machine_.FindClose(search);
}

std::uint32_t OverlayFileSystem::Attributes(const std::string& path, Status* error) {
  if (Deleted(path)) {
    *error = Deleted(FolderOf(path)) ? kErrorPathNotFound : kErrorFileNotFound;
    return kInvalidFileAttributes;
  }
  const auto changed = attributes_.find(FoldedPath(path, codePage_));
  if (changed != attributes_.end()) return changed->second;
  const std::uint32_t attributes = machine_.GetAttributes(path.c_str());
  if (attributes == kInvalidFileAttributes) *error = machine_.LastError();
  return attributes;
}

std::uint32_t OverlayFileSystem::GetAttributes(const char* path) {
  Status error = kErrorSuccess;
  const std::uint32_t attributes = Attributes(path ? path : "", &error);
  if (attributes == kInvalidFileAttributes) Fail(error);
  return attributes;
}

bool OverlayFileSystem::PassesLink(const std::string& path) {
  // Every folder between the drive's root and the entry itself.
  std::string folder = path;
  for (;;) {
    folder = FolderOf(folder);
    if (IsRoot(folder)) return false;
    folder.pop_back();
    const std::uint32_t attributes = machine_.GetAttributes(folder.c_str());
    if (attributes != kInvalidFileAttributes && (attributes & kFileAttributeReparsePoint) != 0) return true;
  }
}

// The machine's own answer to the open the run's delete makes: a file held
// open without delete sharing, a path that is not where it says (a link, a
// short name the machine's layer does not take) fail here as in the run.
bool OverlayFileSystem::MachineMayRemove(const std::string& path, bool folder) {
  if (machine_.MayRemove(path.c_str(), folder)) return true;
  return Fail(machine_.LastError());
}

bool OverlayFileSystem::MayRemove(const char* path, bool folder) {
  const std::string text = path ? path : "";
  Status error = kErrorSuccess;
  if (Attributes(text, &error) == kInvalidFileAttributes) return Fail(error);
  return MachineMayRemove(text, folder) && Succeed();
}

bool OverlayFileSystem::MaySetAttributes(const char* path) {
  const std::string text = path ? path : "";
  Status error = kErrorSuccess;
  if (Attributes(text, &error) == kInvalidFileAttributes) return Fail(kErrorFileNotFound);
  if (PassesLink(text)) return Fail(kErrorAccessDenied);
  // The machine's own refusal: a file with another name keeps its attributes.
  return machine_.MaySetAttributes(text.c_str()) ? Succeed() : Fail(machine_.LastError());
}

bool OverlayFileSystem::IsPlainFile(const char* path) {
  const std::string text = path ? path : "";
  Status error = kErrorSuccess;
  if (Attributes(text, &error) == kInvalidFileAttributes) return Fail(error);
  return machine_.IsPlainFile(text.c_str()) ? Succeed() : Fail(machine_.LastError());
}

bool OverlayFileSystem::SetAttributes(const char* path, std::uint32_t attributes) {
  if (!MaySetAttributes(path)) return false;
  const std::string text = path;
  Status error = kErrorSuccess;
  const std::uint32_t current = Attributes(text, &error);
  // The kind of entry stays what it is; a link keeps its own attributes.
  if ((current & kFileAttributeReparsePoint) == 0) {
    const std::uint32_t kind = current & kFileAttributeDirectory;
    const std::uint32_t settable = attributes & ~(kFileAttributeDirectory | kFileAttributeReparsePoint);
    attributes_[FoldedPath(text, codePage_)] = kind | (settable == 0 && kind == 0 ? kFileAttributeNormal : settable);
  }
  return Succeed();
}

bool OverlayFileSystem::RemoveFile(const char* path) {
  const std::string text = path ? path : "";
  Status error = kErrorSuccess;
  const std::uint32_t current = Attributes(text, &error);
  if (current == kInvalidFileAttributes) return Fail(error);
  if (!MachineMayRemove(text, false)) return false;
  const bool link = (current & kFileAttributeReparsePoint) != 0;
  if ((current & kFileAttributeDirectory) != 0 || ((current & kFileAttributeReadOnly) != 0 && !link)) {
    return Fail(kErrorAccessDenied);
  }
  attributes_[FoldedPath(text, codePage_)] = kInvalidFileAttributes;
  return Succeed();
}

bool OverlayFileSystem::HasLiveEntries(const std::string& folder) {
  FindData found;
  const FindHandle search = FindFirst((folder + "\\*").c_str(), &found);
  if (search == kInvalidFindHandle) return false;
  bool live = false;
  do {
    live = found.name != "." && found.name != "..";
  } while (!live && FindNext(search, &found));
  FindClose(search);
  return live;
}

bool OverlayFileSystem::RemoveFolder(const char* path) {
  const std::string text = path ? path : "";
  Status error = kErrorSuccess;
  const std::uint32_t current = Attributes(text, &error);
  if (current == kInvalidFileAttributes) return Fail(error);
  if (IsRoot(text)) return Fail(kErrorAccessDenied);
  if (!MachineMayRemove(text, true)) return false;
  if ((current & kFileAttributeDirectory) == 0) return Fail(kErrorDirectory);
  const bool link = (current & kFileAttributeReparsePoint) != 0;
  if ((current & kFileAttributeReadOnly) != 0 && !link) return Fail(kErrorAccessDenied);
  // A link goes by itself; whatever it points to stays.
  if (!link && HasLiveEntries(text)) return Fail(kErrorDirNotEmpty);
  attributes_[FoldedPath(text, codePage_)] = kInvalidFileAttributes;
  return Succeed();
}

}  // namespace tw
