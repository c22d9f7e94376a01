#include "platform/overlay/overlay_registry.h"

#include "platform/memory/folded_name.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace tw {
namespace {

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
  for (const KeyTree& tree : trees) CopyTree(machine, tree.root, tree.path);
}

bool OverlayRegistry::CopyLink(Registry& machine, RegKey root, const std::string& path) {
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
  if (names.size() < 2 || CreateKey(root, parentPath.c_str(), &parent) != kErrorSuccess) {
    Uncopied(root, path);
    return true;
  }
  if (CreateLink(parent, names.back(), targetRoot, targetPath) != kErrorSuccess) Uncopied(root, path);
  CloseKey(parent);
  // The link's own value as the machine wrote it (its spelling of the path).
  RegKey link = 0;
  if (OpenKey(root, path.c_str(), kKeySetValue | kKeyOpenLink, &link) == kErrorSuccess) {
    data.resize(size);
    SetValueNamed(link, kLinkValueName, kRegLink, data);
    CloseKey(link);
  }
  if (reached) CopyTree(machine, targetRoot, targetPath);
  return true;
}

bool OverlayRegistry::CopyValues(Registry& machine, RegKey from, RegKey into) {
  std::vector<std::uint8_t> data;
  for (std::uint32_t index = 0;; ++index) {
    char name[16384];
    std::uint32_t nameChars = sizeof name;
    std::uint32_t size = 0;
    ValueType type = kRegNone;
    const Status listed = machine.EnumValue(from, index, name, &nameChars, &type, nullptr, &size);
    if (listed == kErrorNoMoreItems) return true;
    // Read by its index: a name holding a NUL would name another value.
    data.assign(size + 2, 0);
    nameChars = sizeof name;
    if (listed != kErrorSuccess ||
        machine.EnumValue(from, index, name, &nameChars, &type, data.data(), &size) != kErrorSuccess) {
      return false;
    }
    data.resize(size);
    if (SetValueNamed(into, std::string(name, nameChars), type, data) != kErrorSuccess) {
      return false;
    }
  }
}

void OverlayRegistry::Uncopied(RegKey root, const std::string& path) {
  if (!uncopied_) uncopied_ = (root == kHkeyCurrentUser ? "HKEY_CURRENT_USER\\" : "HKEY_LOCAL_MACHINE\\") + path;
}

// As deep as the machine's tree goes: only a loop of links could make it
// endless, and no key is copied twice. What cannot be copied is noted.
void OverlayRegistry::CopyTree(Registry& machine, RegKey root, const std::string& path) {
  const std::string folded = std::to_string(root) + "\\" + FoldedName(path, &codePage_);
  if (!copied_.insert(folded).second || CopyLink(machine, root, path)) return;
  RegKey from = 0;
  const Status opened = machine.OpenKey(root, path.c_str(), kKeyRead, &from);
  if (opened != kErrorSuccess) {
    if (opened != kErrorFileNotFound) Uncopied(root, path);
    return;
  }
  RegKey into = 0;
  if (CreateKey(root, path.c_str(), &into) != kErrorSuccess) {
    Uncopied(root, path);
  } else {
    if (!CopyValues(machine, from, into)) Uncopied(root, path);
    CloseKey(into);
  }
  std::vector<std::string> children;
  for (std::uint32_t index = 0;; ++index) {
    char name[kNameCapacity];
    std::uint32_t nameChars = kNameCapacity;
    const Status listed = machine.EnumKey(from, index, name, &nameChars);
    if (listed != kErrorSuccess) {
      if (listed != kErrorNoMoreItems) Uncopied(root, path);
      break;
    }
    children.emplace_back(name, nameChars);
  }
  machine.CloseKey(from);
  for (const std::string& child : children) {
    if (child.find('\0') == std::string::npos) {
      CopyTree(machine, root, path + "\\" + child);
    } else if (OpenKey(root, path.c_str(), kKeyAllAccess, &into) == kErrorSuccess) {
      // No path can name it to read it: it is copied as it is seen, by its name.
      if (CreateKeyNamed(into, child) != kErrorSuccess) Uncopied(root, path);
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
