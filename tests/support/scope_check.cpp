#include "tests/support/scope_check.h"

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

#include "platform/code_page.h"
#include "tests/support/test_services.h"

namespace tw::test {
namespace fs = std::filesystem;
namespace {

constexpr const char* kFamilyTree = "HKEY_LOCAL_MACHINE\\SOFTWARE\\CORVANE\\TALKWISE";
constexpr const char* kHelpKey = "HKEY_LOCAL_MACHINE\\SOFTWARE\\MICROSOFT\\WINDOWS\\HELP";
constexpr const char* kAppPaths = "HKEY_LOCAL_MACHINE\\SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\APP PATHS\\";
constexpr const char* kSchemeKey = "HKEY_CURRENT_USER\\APPEVENTS\\SCHEMES\\APPS\\TALKWISE";
constexpr const char* kFamilyExecutables[] = {"speakfit.exe", "recogsrv.exe", "notepane.exe", "quickcmd.exe",
                                              "twvocab.exe"};

// Buffers shared by the whole walk; the data buffer grows to the largest value.
struct CaptureBuffers {
  std::vector<char> name = std::vector<char>(kRegValueNameCapacity);
  std::vector<std::uint8_t> data = std::vector<std::uint8_t>(4096);
};

// Walks the tree below parent\\subKey, opening each key from its parent.
// The 32-bit view of a 64-bit system shares keys such as App Paths with the
// native view: imaged twice, one change would show up twice, once under a
// path that looks out of scope (a 32-bit system has no such key). On a real
// system the thousands of COM registrations would make each image take
// seconds; the program never opens them, and the portable registry, imaged
// whole, has none.
bool NotImaged(const std::string& foldedPath) {
  return foldedPath == "HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432NODE" ||
         (!kPortablePlatform && foldedPath == "HKEY_LOCAL_MACHINE\\SOFTWARE\\CLASSES");
}

// A registry link is imaged as itself, its target's path its only value; a
// key whose name holds a NUL, which no 8-bit call can open, by its name alone.
void CaptureKey(Registry& registry, RegKey parent, const std::string& fullPath, const std::string& subKey,
                CaptureBuffers& buffers, RegistryImage* image) {
  if (subKey.find('\0') != std::string::npos) {
    (*image)[FoldCase(fullPath)].path = fullPath;
    return;
  }
  RegKey key = 0;
  if (registry.OpenKey(parent, subKey.c_str(), kKeyRead | kKeyOpenLink, &key) != kErrorSuccess) return;
  KeyImage& entry = (*image)[FoldCase(fullPath)];
  entry.path = fullPath;
  std::vector<char>& name = buffers.name;
  std::vector<std::uint8_t>& data = buffers.data;
  for (std::uint32_t index = 0;;) {
    std::uint32_t nameSize = static_cast<std::uint32_t>(name.size());
    std::uint32_t dataSize = static_cast<std::uint32_t>(data.size());
    ValueType type = kRegNone;
    const Status status = registry.EnumValue(key, index, name.data(), &nameSize, &type, data.data(), &dataSize);
    if (status == kErrorMoreData && dataSize > data.size()) {
      data.resize(dataSize);
      continue;
    }
    if (status != kErrorSuccess) break;
    const std::string valueName(name.data(), nameSize);
    entry.values[FoldCase(valueName)] = {valueName, type, {data.begin(), data.begin() + dataSize}};
    ++index;
  }
  std::vector<std::string> children;
  for (std::uint32_t index = 0;; ++index) {
    std::uint32_t size = static_cast<std::uint32_t>(name.size());
    if (registry.EnumKey(key, index, name.data(), &size) != kErrorSuccess) break;
    children.emplace_back(name.data(), size);
  }
  for (const std::string& child : children) {
    const std::string childPath = fullPath + "\\" + child;
    if (NotImaged(FoldCase(childPath))) continue;
    CaptureKey(registry, key, childPath, child, buffers, image);
  }
  registry.CloseKey(key);
}

// A key of another user's hive (HKEY_USERS\<hive>\...) is in scope where
// the same key of the running user's is: each user's part is the same.
std::string AsCurrentUser(const std::string& foldedPath) {
  static const std::string kUsers = "HKEY_USERS\\";
  if (foldedPath.compare(0, kUsers.size(), kUsers) != 0) return foldedPath;
  const std::size_t hiveEnd = foldedPath.find('\\', kUsers.size());
  return hiveEnd == std::string::npos ? foldedPath : "HKEY_CURRENT_USER" + foldedPath.substr(hiveEnd);
}

bool IsAtOrBelow(const std::string& foldedPath, std::string prefix) {
  if (!prefix.empty() && prefix.back() == '\\') prefix.pop_back();
  return foldedPath == prefix ||
         (foldedPath.size() > prefix.size() && foldedPath.compare(0, prefix.size(), prefix) == 0 &&
          foldedPath[prefix.size()] == '\\');
}

std::string TextOf(const RegistryImage& image, const std::string& foldedKey, const std::string& valueName) {
  auto key = image.find(foldedKey);
  if (key == image.end()) return std::string();
  auto value = key->second.values.find(FoldCase(valueName));
  return value == key->second.values.end() ? std::string() : DataText(value->second.data);
}

// The scope of one run, worked out from the image taken before it.
class Scope {
 public:
  Scope(const RegistryImage& before, const std::string& languageCode) : before_(before) {
    std::string suffix;
    for (std::size_t position : {3u, 4u}) {
      if (position < languageCode.size()) suffix += languageCode[position];
    }
    for (const char* event : {"START DICTATION ", "STOP DICTATION "}) {
      soundEvents_.push_back(FoldCase("HKEY_CURRENT_USER\\APPEVENTS\\EVENTLABELS\\" + std::string(event) + suffix));
      soundEvents_.push_back(FoldCase(std::string(kSchemeKey) + "\\" + event + suffix));
    }
    const std::string family = std::string(kFamilyTree) + "\\";
    engineDirectory_ = TextOf(before, family + "ENGINE\\DIRECTORIES", "Bin");
    const std::string dictation = TextOf(before, family + "DICTATION\\DIRECTORIES", "Help");
    const std::string control = TextOf(before, family + "CONTROL\\DIRECTORIES", "Help");
    for (const std::string& directory : {dictation, control}) {
      if (directory.empty()) continue;
      helpDirectories_.insert(FoldCase(directory));
      for (const char* product : {"twc", "twlite", "combined"}) {
        productDirectories_.insert(FoldCase(directory + "\\" + product));
      }
    }
  }

  bool KeyIsFree(const std::string& foldedPath) const {
    if (IsAtOrBelow(foldedPath, kFamilyTree)) return true;
    return std::any_of(soundEvents_.begin(), soundEvents_.end(),
                       [&](const std::string& event) { return IsAtOrBelow(AsCurrentUser(foldedPath), event); });
  }

  // An application path of the family that pointed at the engine may go.
  bool MayVanish(const std::string& foldedPath) const {
    if (AsCurrentUser(foldedPath) == FoldCase(kSchemeKey)) return true;
    for (const char* executable : kFamilyExecutables) {
      const std::string key = FoldCase(std::string(kAppPaths) + executable);
      if (IsAtOrBelow(foldedPath, key) && !engineDirectory_.empty() &&
          TextOf(before_, key, "Path") == engineDirectory_) {
        return true;
      }
    }
    return false;
  }

  bool HelpMayDrop(const ValueImage& value) const {
    const std::string data = FoldCase(DataText(value.data));
    return helpDirectories_.count(data) != 0 || productDirectories_.count(data) != 0;
  }

  bool HelpMayWrite(const ValueImage& value) const {
    return value.type == kRegSz && productDirectories_.count(FoldCase(DataText(value.data))) != 0;
  }

 private:
  const RegistryImage& before_;
  std::vector<std::string> soundEvents_;
  std::string engineDirectory_;
  std::set<std::string> helpDirectories_;
  std::set<std::string> productDirectories_;
};

void CompareHelpKey(const Scope& scope, const KeyImage* before, const KeyImage* after,
                    std::vector<std::string>* changes) {
  if (before && !after) {
    changes->push_back("deleted the help-registration key");
    return;
  }
  if (!before) return;
  for (const auto& [name, value] : before->values) {
    auto now = after->values.find(name);
    if (now != after->values.end() && now->second == value) continue;
    if (now == after->values.end() ? scope.HelpMayDrop(value) : scope.HelpMayWrite(now->second)) continue;
    changes->push_back("help registration \"" + value.name + "\"=\"" + DataText(value.data) + "\" " +
                       (now == after->values.end() ? "deleted" : "rewritten to \"" + DataText(now->second.data) + "\""));
  }
  for (const auto& [name, value] : after->values) {
    if (before->values.count(name) == 0 && !scope.HelpMayWrite(value)) {
      changes->push_back("help registration \"" + value.name + "\"=\"" + DataText(value.data) + "\" added");
    }
  }
}

}  // namespace

std::string FoldCase(std::string text) {
  for (char& c : text) c = UpperAscii(c);
  return text;
}

std::string DataText(const std::vector<std::uint8_t>& data) {
  const auto end = std::find(data.begin(), data.end(), 0);
  return std::string(data.begin(), end);
}

RegistryImage CaptureRegistry(Registry& registry) {
  RegistryImage image;
  CaptureBuffers buffers;
  CaptureKey(registry, kHkeyLocalMachine, "HKEY_LOCAL_MACHINE", "", buffers, &image);
  CaptureKey(registry, kHkeyCurrentUser, "HKEY_CURRENT_USER", "", buffers, &image);
  // Other users' hives are the portable registry's alone: the system's
  // HKEY_USERS holds the running user's hive a second time.
  if (kPortablePlatform) CaptureKey(registry, kHkeyUsers, "HKEY_USERS", "", buffers, &image);
  return image;
}

std::vector<std::string> RegistryChangesOutsideScope(const RegistryImage& before, const RegistryImage& after,
                                                     const std::string& languageCode) {
  const Scope scope(before, languageCode);
  std::vector<std::string> changes;
  auto helpBefore = before.find(kHelpKey);
  auto helpAfter = after.find(kHelpKey);
  CompareHelpKey(scope, helpBefore == before.end() ? nullptr : &helpBefore->second,
                 helpAfter == after.end() ? nullptr : &helpAfter->second, &changes);
  for (const auto& [folded, key] : before) {
    if (folded == kHelpKey || scope.KeyIsFree(folded)) continue;
    auto now = after.find(folded);
    if (now == after.end()) {
      if (!scope.MayVanish(folded)) changes.push_back("key deleted: " + key.path);
      continue;
    }
    for (const auto& [name, value] : key.values) {
      auto other = now->second.values.find(name);
      if (other == now->second.values.end()) {
        changes.push_back("value deleted: " + key.path + " \"" + value.name + "\"");
      } else if (!(other->second == value)) {
        changes.push_back("value changed: " + key.path + " \"" + value.name + "\"");
      }
    }
    for (const auto& [name, value] : now->second.values) {
      if (key.values.count(name) == 0) changes.push_back("value added: " + key.path + " \"" + value.name + "\"");
    }
  }
  for (const auto& [folded, key] : after) {
    if (before.count(folded) == 0 && !scope.KeyIsFree(folded)) changes.push_back("key added: " + key.path);
  }
  return changes;
}

DiskImage CaptureDisk(const fs::path& root, const std::vector<fs::path>& excluded) {
  DiskImage image;
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(root, fs::directory_options::none, error);
       it != fs::recursive_directory_iterator(); it.increment(error)) {
    if (error) break;
    const fs::path& path = it->path();
    // Windows matches names without regard to case.
    const auto isPath = [&](const fs::path& other) {
      return kPortablePlatform ? other == path : FoldCase(other.string()) == FoldCase(path.string());
    };
    if (std::any_of(excluded.begin(), excluded.end(), isPath)) {
      it.disable_recursion_pending();
      continue;
    }
    const fs::file_status status = it->symlink_status(error);
    std::ostringstream entry;
    entry << static_cast<int>(status.type()) << ' ' << static_cast<unsigned>(status.permissions());
    if (fs::is_symlink(status)) {
      entry << " -> " << fs::read_symlink(path, error).string();
    } else if (fs::is_regular_file(status)) {
      std::ifstream in(path, std::ios::binary);
      entry << ' ' << in.rdbuf();
    }
    image[fs::relative(path, root, error).string()] = entry.str();
  }
  return image;
}

std::vector<std::string> DiskChanges(const DiskImage& before, const DiskImage& after) {
  std::vector<std::string> changes;
  for (const auto& [path, entry] : before) {
    auto now = after.find(path);
    if (now == after.end()) {
      changes.push_back("removed: " + path);
    } else if (now->second != entry) {
      changes.push_back("changed: " + path);
    }
  }
  for (const auto& [path, entry] : after) {
    if (before.count(path) == 0) changes.push_back("added: " + path);
  }
  return changes;
}

}  // namespace tw::test
