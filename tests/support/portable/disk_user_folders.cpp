#include "tests/support/portable/disk_user_folders.h"

#include <system_error>

namespace tw {
namespace {

namespace fs = std::filesystem;

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (LowerAscii(text[i]) != LowerAscii(prefix[i])) {
      return false;
    }
  }
  return true;
}

}  // namespace

DiskUserFolders::DiskUserFolders(const DiskFileSystem& files, fs::path root) : files_(files), root_(std::move(root)) {}

std::optional<std::string> DiskUserFolders::ProfileFolder() {
  if (entered.empty()) return profile ? FinalFolderPath(*profile) : std::nullopt;
  const auto other = profiles.find(entered);
  return other != profiles.end() ? FinalFolderPath(other->second) : std::nullopt;
}

std::string DiskUserFolders::LongForm(const std::string& path) const {
  for (const auto& [shortPath, longPath] : shortNames) {
    if (StartsWithNoCase(path, shortPath) && (path.size() == shortPath.size() || path[shortPath.size()] == '\\')) {
      return longPath + path.substr(shortPath.size());
    }
  }
  return path;
}

std::optional<std::string> DiskUserFolders::FinalFolderPath(const std::string& path) {
  const auto host = files_.HostPath(LongForm(path));
  std::error_code error;
  if (!host || !fs::is_directory(*host, error)) return std::nullopt;
  const fs::path final = fs::canonical(*host, error);
  const fs::path drives = fs::canonical(root_, error);
  if (error) return std::nullopt;
  const fs::path below = final.lexically_relative(drives);
  if (below.empty() || *below.begin() == "..") return std::nullopt;  // a link that leaves the drives
  std::string windowsPath;
  for (const fs::path& name : below) {
    if (windowsPath.empty()) {
      windowsPath = std::string(1, UpperAscii(name.string()[0])) + ":";
    } else {
      windowsPath += "\\" + name.string();
    }
  }
  return windowsPath.size() == 2 ? windowsPath + "\\" : windowsPath;
}

void DiskUserFolders::Refused(const std::string& folder, const std::string& reason) {
  refused.push_back((entered.empty() ? "" : entered + " ") + folder + ": " + reason);
}

}  // namespace tw
