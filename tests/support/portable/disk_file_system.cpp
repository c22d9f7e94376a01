#include "tests/support/portable/disk_file_system.h"

#include <algorithm>
#include <system_error>

#if !defined(_WIN32)  // POSIX locks; the Windows build meets the system's own sharing
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#define TW_HAVE_FLOCK 1
#endif

namespace tw {
namespace fs = std::filesystem;

namespace {

// Names match as the file system matches them: folded as the code page
// folds them, or A..Z alone without one.
bool EqualNoCase(const std::string& a, const std::string& b, const CodePage* codePage) {
  if (a.size() != b.size()) return false;
  if (codePage != nullptr) {
    std::string foldedA = a;
    std::string foldedB = b;
    codePage->FoldCase(foldedA);
    codePage->FoldCase(foldedB);
    return foldedA == foldedB;
  }
  return std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return UpperAscii(x) == UpperAscii(y); });
}

bool LessNoCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return UpperAscii(x) < UpperAscii(y); });
}

bool Glob(const char* pattern, const char* name) {
  // Iterative matching with one backtrack point for the last '*'.
  const char* starPattern = nullptr;
  const char* starName = nullptr;
  while (*name) {
    if (*pattern == '*') {
      starPattern = ++pattern;
      starName = name;
    } else if (*pattern == '?' || (*pattern && UpperAscii(*pattern) == UpperAscii(*name))) {
      ++pattern;
      ++name;
    } else if (starPattern) {
      pattern = starPattern;
      name = ++starName;
    } else {
      return false;
    }
  }
  while (*pattern == '*') ++pattern;
  return *pattern == '\0';
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Whether another open holds a lock on the entry (the entry itself, not what
// a link at its place leads to).
bool HeldOpen(const fs::path& hostPath) {
#if defined(TW_HAVE_FLOCK)
  const int entry = open(hostPath.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
  if (entry < 0) return false;
  const bool held = flock(entry, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  close(entry);
  return held;
#else
  (void)hostPath;
  return false;
#endif
}

}  // namespace

bool MatchesWildcard(const std::string& pattern, const std::string& name) {
  if (pattern == "*" || pattern == "*.*") return true;
  if (Glob(pattern.c_str(), name.c_str())) return true;
  // A final ".*" may also match nothing at all: "name.*" matches "name", "a.b.*" matches "a.b".
  return pattern.size() > 2 && pattern.compare(pattern.size() - 2, 2, ".*") == 0 &&
         Glob(pattern.substr(0, pattern.size() - 2).c_str(), name.c_str());
}

DiskFileSystem::DiskFileSystem(fs::path root, const CodePage* codePage) : root_(std::move(root)), codePage_(codePage) {}

std::optional<fs::path> DiskFileSystem::HostPath(const std::string& windowsPath) const {
  if (windowsPath.size() < 2 || windowsPath[1] != ':' || !IsDriveLetter(windowsPath[0])) {
    return std::nullopt;
  }
  if (windowsPath.size() > 2 && !IsSeparator(windowsPath[2])) return std::nullopt;  // drive-relative
  const fs::path drive = root_ / std::string(1, LowerAscii(windowsPath[0]));
  std::vector<std::string> parts;
  std::string part;
  for (std::size_t i = 2; i <= windowsPath.size(); ++i) {
    if (i < windowsPath.size() && codePage_ != nullptr && codePage_->CharacterSize(windowsPath, i) == 2) {
      part += windowsPath.substr(i++, 2);  // a trail byte 0x5C is no separator
    } else if (i == windowsPath.size() || IsSeparator(windowsPath[i])) {
      if (part == "..") {
        if (!parts.empty()) parts.pop_back();
      } else if (!part.empty() && part != ".") {
        parts.push_back(part);
      }
      part.clear();
    } else {
      part += windowsPath[i];
    }
  }
  fs::path host = drive;
  for (const std::string& name : parts) {
    std::error_code error;
    fs::path exact = host / name;
    if (!fs::exists(fs::symlink_status(exact, error))) {
      for (const auto& entry : fs::directory_iterator(host, error)) {
        if (EqualNoCase(entry.path().filename().string(), name, codePage_)) {
          exact = entry.path();
          break;
        }
      }
    }
    host = exact;
  }
  return host;
}

bool DiskFileSystem::Fail(Status error) {
  lastError_ = error;
  return false;
}

bool DiskFileSystem::FailMissing(const fs::path& hostPath) {
  std::error_code error;
  return Fail(fs::is_directory(hostPath.parent_path(), error) ? kErrorFileNotFound : kErrorPathNotFound);
}

std::uint32_t DiskFileSystem::AttributesOf(const fs::path& hostPath) const {
  std::error_code error;
  const fs::file_status link = fs::symlink_status(hostPath, error);
  if (error || !fs::exists(link)) return kInvalidFileAttributes;
  if (fs::is_symlink(link)) {
    return kFileAttributeReparsePoint | (fs::is_directory(fs::status(hostPath, error)) ? kFileAttributeDirectory : 0);
  }
  const std::uint32_t readOnly =
      (link.permissions() & fs::perms::owner_write) == fs::perms::none ? kFileAttributeReadOnly : 0;
  if (fs::is_directory(link)) return kFileAttributeDirectory | readOnly;
  return kFileAttributeArchive | readOnly;
}

bool DiskFileSystem::PassesLink(const fs::path& hostPath) const {
  std::error_code error;
  const fs::path relative = hostPath.parent_path().lexically_relative(root_);
  fs::path walked = root_;
  for (const fs::path& part : relative) {
    walked /= part;
    if (part != "." && fs::is_symlink(fs::symlink_status(walked, error))) return true;
  }
  return false;
}

FindHandle DiskFileSystem::FindFirst(const char* pattern, FindData* data) {
  const std::string text = pattern ? pattern : "";
  std::size_t slash = std::string::npos;  // the last separator that is no trail byte
  for (std::size_t i = 0, size = 0; i < text.size(); i += size) {
    size = codePage_ != nullptr ? codePage_->CharacterSize(text, i) : 1;
    if (size == 1 && IsSeparator(text[i])) slash = i;
  }
  const std::string mask = slash == std::string::npos ? "" : text.substr(slash + 1);
  const auto directory = slash == std::string::npos ? std::nullopt : HostPath(text.substr(0, slash + 1));
  std::error_code error;
  if (!directory || !fs::is_directory(*directory, error)) {
    Fail(kErrorPathNotFound);
    return kInvalidFindHandle;
  }
  Search search;
  if (directory->parent_path() != root_) {  // a drive's root has no dot entries
    for (const char* dots : {".", ".."}) {
      if (MatchesWildcard(mask, dots)) search.entries.push_back({kFileAttributeDirectory, dots});
    }
  }
  std::vector<FindData> found;
  for (const auto& entry : fs::directory_iterator(*directory, error)) {
    const std::string name = entry.path().filename().string();
    if (MatchesWildcard(mask, name)) found.push_back({AttributesOf(entry.path()), name});
  }
  std::sort(found.begin(), found.end(), [](const FindData& a, const FindData& b) { return LessNoCase(a.name, b.name); });
  search.entries.insert(search.entries.end(), found.begin(), found.end());
  if (mask.empty() || search.entries.empty()) {
    Fail(kErrorFileNotFound);
    return kInvalidFindHandle;
  }
  *data = search.entries[0];
  search.next = 1;
  const FindHandle handle = nextSearch_++;
  searches_.emplace(handle, std::move(search));
  return handle;
}

bool DiskFileSystem::FindNext(FindHandle handle, FindData* data) {
  auto it = searches_.find(handle);
  if (it == searches_.end()) return Fail(kErrorInvalidHandle);
  Search& search = it->second;
  if (search.next >= search.entries.size()) return Fail(kErrorNoMoreFiles);
  *data = search.entries[search.next++];
  return true;
}

bool DiskFileSystem::FindClose(FindHandle handle) {
  return searches_.erase(handle) == 1 ? true : Fail(kErrorInvalidHandle);
}

std::uint32_t DiskFileSystem::GetAttributes(const char* path) {
  const auto host = HostPath(path ? path : "");
  if (!host) {
    Fail(kErrorPathNotFound);
    return kInvalidFileAttributes;
  }
  const std::uint32_t attributes = AttributesOf(*host);
  if (attributes == kInvalidFileAttributes) FailMissing(*host);
  return attributes;
}

bool DiskFileSystem::MaySetAttributes(const char* path) {
  const auto host = HostPath(path ? path : "");
  const std::uint32_t current = host ? AttributesOf(*host) : kInvalidFileAttributes;
  if (current == kInvalidFileAttributes) return Fail(kErrorFileNotFound);
  if (PassesLink(*host)) return Fail(kErrorAccessDenied);
  if ((current & (kFileAttributeReparsePoint | kFileAttributeDirectory)) != 0) return true;
  std::error_code error;
  return fs::hard_link_count(*host, error) == 1 ? true : Fail(kErrorAccessDenied);
}

bool DiskFileSystem::SetAttributes(const char* path, std::uint32_t attributes) {
  if (!MaySetAttributes(path)) return false;
  const fs::path host = *HostPath(path);
  if ((AttributesOf(host) & kFileAttributeReparsePoint) != 0) return true;
  std::error_code error;
  const fs::perms writable = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  if (attributes & kFileAttributeReadOnly) {
    fs::permissions(host, writable, fs::perm_options::remove, error);
  } else {
    fs::permissions(host, fs::perms::owner_write, fs::perm_options::add, error);
  }
  return error ? Fail(kErrorAccessDenied) : true;
}

bool DiskFileSystem::MayRemove(const char* path, bool) {
  const auto host = HostPath(path ? path : "");
  if (!host) return Fail(kErrorPathNotFound);
  if (AttributesOf(*host) == kInvalidFileAttributes) return FailMissing(*host);
  if (PassesLink(*host)) return Fail(kErrorAccessDenied);
  return HeldOpen(*host) ? Fail(kErrorSharingViolation) : true;
}

bool DiskFileSystem::IsPlainFile(const char* path) {
  const auto host = HostPath(path ? path : "");
  if (!host) return Fail(kErrorPathNotFound);
  const std::uint32_t attributes = AttributesOf(*host);
  if (attributes == kInvalidFileAttributes) return FailMissing(*host);
  if (PassesLink(*host) || (attributes & (kFileAttributeReparsePoint | kFileAttributeDirectory)) != 0) {
    return Fail(kErrorAccessDenied);
  }
  std::error_code error;
  return fs::hard_link_count(*host, error) == 1 ? true : Fail(kErrorAccessDenied);
}

bool DiskFileSystem::RemoveFile(const char* path) {
  if (!MayRemove(path, false)) return false;
  const fs::path host = *HostPath(path);
  if ((AttributesOf(host) & (kFileAttributeDirectory | kFileAttributeReadOnly)) != 0) return Fail(kErrorAccessDenied);
  std::error_code error;
  return fs::remove(host, error) ? true : Fail(kErrorAccessDenied);
}

bool DiskFileSystem::RemoveFolder(const char* path) {
  if (!MayRemove(path, true)) return false;
  const fs::path host = *HostPath(path);
  const std::uint32_t attributes = AttributesOf(host);
  if ((attributes & kFileAttributeDirectory) == 0) return Fail(kErrorDirectory);
  if (host.parent_path() == root_) return Fail(kErrorAccessDenied);  // a drive's root stays
  if ((attributes & (kFileAttributeReadOnly | kFileAttributeReparsePoint)) == kFileAttributeReadOnly) {
    return Fail(kErrorAccessDenied);
  }
  std::error_code error;
  // A link goes by itself; whatever it points to stays.
  if ((attributes & kFileAttributeReparsePoint) == 0 && !fs::is_empty(host, error)) return Fail(kErrorDirNotEmpty);
  return fs::remove(host, error) ? true : Fail(kErrorAccessDenied);
}

}  // namespace tw
