#include "platform/overlay/overlay_registry.h"

#include "platform/portable/folded_name.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace tw {
namespace {

constexpr int kMaxDepth = 64;  // deeper trees are no family's; a loop of names must end
constexpr std::uint32_t kNameCapacity = 256;
constexpr const char* kLinkValueName = "SymbolicLinkValue";
constexpr const char kMachinePrefix[] = "\\REGISTRY\\MACHINE\\";
constexpr const char kUserPrefix[] = "\\REGISTRY\\USER\\";

// A native link path ("\REGISTRY\MACHINE\..." or "\REGISTRY\USER\<user>\...")
// as a root and a path below it; false for any other.
bool SplitNativePath(const std::string& native, RegKey* root, std::string* path) {
  const auto startsWith = [&](const char* prefix) {
    const std::string text(prefix);
    return native.size() >= text.size() && std::equal(text.begin(), text.end(), native.begin(), [](char a, char b) {
             return (a >= 'a' && a <= 'z' ? a - 32 : a) == (b >= 'a' && b <= 'z' ? b - 32 : b);
           });
  };
  if (startsWith(kMachinePrefix)) {
    *root = kHkeyLocalMachine;
    *path = native.substr(sizeof kMachinePrefix - 1);
    return true;
  }
  if (!startsWith(kUserPrefix)) return false;
  const std::size_t user = native.find('\\', sizeof kUserPrefix - 1);
  *root = kHkeyCurrentUser;
  *path = user == std::string::npos ? std::string() : native.substr(user + 1);
  return true;
}

}  // namespace

OverlayRegistry::OverlayRegistry(Registry& machine, const CodePage& codePage, std::initializer_list<KeyTree> trees)
    : MemoryRegistry(&codePage), codePage_(codePage) {
  for (const KeyTree& tree : trees) CopyTree(machine, tree.root, tree.path, 0);
}

bool OverlayRegistry::CopyLink(Registry& machine, RegKey root, const std::string& path, int depth) {
  RegKey key = 0;
  if (machine.OpenKey(root, path.c_str(), kKeyQueryValue | kKeyOpenLink, &key) != kErrorSuccess) return false;
  std::vector<std::uint8_t> data(1024);
  std::uint32_t size = static_cast<std::uint32_t>(data.size());
  ValueType type = kRegNone;
  const Status status = machine.QueryValue(key, kLinkValueName, &type, data.data(), &size);
  machine.CloseKey(key);
  if (status != kErrorSuccess || type != kRegLink) return false;
  std::string native;  // UTF-16 of ASCII names
  for (std::uint32_t i = 0; i + 1 < size; i += 2) native.push_back(static_cast<char>(data[i]));
  RegKey targetRoot = kHkeyLocalMachine;
  std::string targetPath;
  // A target outside the two roots is never reached: a path no key has (it
  // begins with a backslash) keeps the copy a link that leads nowhere, which
  // the removal still sees and deletes as the machine's.
  const bool reached = SplitNativePath(native, &targetRoot, &targetPath);
  if (!reached) targetPath = "\\" + native;
  std::vector<std::string> names = KeyPathParts(codePage_, path);
  std::string parentPath;
  for (std::size_t i = 0; i + 1 < names.size(); ++i) parentPath += (i > 0 ? "\\" : "") + names[i];
  RegKey parent = 0;
  if (names.size() < 2 || CreateKey(root, parentPath.c_str(), &parent) != kErrorSuccess) return true;
  CreateLink(parent, names.back(), targetRoot, targetPath);
  CloseKey(parent);
  // The link's own value as the machine wrote it (its spelling of the path).
  RegKey link = 0;
  if (OpenKey(root, path.c_str(), kKeySetValue | kKeyOpenLink, &link) == kErrorSuccess) {
    data.resize(size);
    SetValueNamed(link, kLinkValueName, kRegLink, data);
    CloseKey(link);
  }
  if (reached) CopyTree(machine, targetRoot, targetPath, depth + 1);
  return true;
}

void OverlayRegistry::CopyValues(Registry& machine, RegKey from, RegKey into) {
  std::vector<std::uint8_t> data;
  for (std::uint32_t index = 0;; ++index) {
    char name[16384];
    std::uint32_t nameChars = sizeof name;
    std::uint32_t size = 0;
    ValueType type = kRegNone;
    if (machine.EnumValue(from, index, name, &nameChars, &type, nullptr, &size) != kErrorSuccess) return;
    // Read by its index: a name holding a NUL would name another value.
    data.assign(size + 2, 0);
    nameChars = sizeof name;
    if (machine.EnumValue(from, index, name, &nameChars, &type, data.data(), &size) != kErrorSuccess) continue;
    data.resize(size);
    SetValueNamed(into, std::string(name, nameChars), type, data);
  }
}

void OverlayRegistry::CopyTree(Registry& machine, RegKey root, const std::string& path, int depth) {
  const std::string folded = std::to_string(root) + "\\" + FoldedName(path, &codePage_);
  if (depth > kMaxDepth || !copied_.emplace(folded, depth).second || CopyLink(machine, root, path, depth)) return;
  RegKey from = 0;
  if (machine.OpenKey(root, path.c_str(), kKeyRead, &from) != kErrorSuccess) return;
  RegKey into = 0;
  if (CreateKey(root, path.c_str(), &into) == kErrorSuccess) {
    CopyValues(machine, from, into);
    CloseKey(into);
  }
  std::vector<std::string> children;
  for (std::uint32_t index = 0;; ++index) {
    char name[kNameCapacity];
    std::uint32_t nameChars = kNameCapacity;
    if (machine.EnumKey(from, index, name, &nameChars) != kErrorSuccess) break;
    children.emplace_back(name, nameChars);
  }
  machine.CloseKey(from);
  for (const std::string& child : children) {
    if (child.find('\0') == std::string::npos) {
      CopyTree(machine, root, path + "\\" + child, depth + 1);
    } else if (OpenKey(root, path.c_str(), kKeyAllAccess, &into) == kErrorSuccess) {
      // No path can name it to read it: it is copied as it is seen, by its name.
      CreateKeyNamed(into, child);
      CloseKey(into);
    }
  }
  // After the subkeys: a protected key takes no new ones.
  RegKey writable = 0;
  if (machine.OpenKey(root, path.c_str(), kKeyAllAccess, &writable) == kErrorSuccess) {
    machine.CloseKey(writable);
  } else {
    Protect(root, path);
  }
}

}  // namespace tw
