#include "platform/overlay/machine_keys.h"

#include <cstdint>
#include <vector>

#include "platform/memory/key_fill.h"

namespace tw {
namespace {

constexpr const char kMachinePrefix[] = "\\REGISTRY\\MACHINE\\";
constexpr const char kUserPrefix[] = "\\REGISTRY\\USER\\";

}  // namespace

bool MachineKeys::SplitNativePath(const std::string& native, RegKey* root, std::string* path) const {
  const auto startsWith = [&](const std::string& prefix) {
    if (native.size() < prefix.size()) return false;
    std::string head = native.substr(0, prefix.size());
    std::string folded = prefix;
    codePage_.FoldCase(head);
    codePage_.FoldCase(folded);
    return head == folded;
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

// A key that cannot be asked whether it is a link is unreadable: opened the
// usual way, a link would be read as its target.
bool MachineKeys::ReadLink(KeyFill& into, RegKey root, const std::string& path) {
  RegKey key = 0;
  const Status opened = machine_.OpenKey(root, path.c_str(), kKeyQueryValue | kKeyOpenLink, &key);
  if (opened != kErrorSuccess) {
    if (opened != kErrorFileNotFound) NoteUnreadable(root, path);
    return false;
  }
  std::vector<std::uint8_t> data(1024);
  std::uint32_t size = static_cast<std::uint32_t>(data.size());
  ValueType type = kRegNone;
  const Status status = machine_.QueryValue(key, kRegLinkValueName, &type, data.data(), &size);
  machine_.CloseKey(key);
  if (status != kErrorSuccess && status != kErrorFileNotFound) NoteUnreadable(root, path);
  if (status != kErrorSuccess || type != kRegLink) return false;
  data.resize(size);
  // UTF-16 of ASCII names: a character beyond them is not dropped to another
  // name but leaves the target unknown.
  std::string native;
  bool ascii = size % 2 == 0;
  for (std::uint32_t i = 0; i + 1 < size; i += 2) {
    ascii = ascii && data[i] < 0x80 && data[i + 1] == 0;
    native.push_back(static_cast<char>(data[i]));
  }
  RegKey targetRoot = kHkeyLocalMachine;
  std::string targetPath;
  // A target outside the two roots is never reached: a path no key has (it
  // begins with a backslash) keeps the link one that leads nowhere, which
  // the removal still sees and deletes as the machine's.
  const bool reached = ascii && SplitNativePath(native, &targetRoot, &targetPath);
  if (!ascii) NoteUnreadable(root, path);
  if (!reached) targetPath = "\\" + native;
  into.MakeLink(targetRoot, targetPath, data);
  if (reached) into.ReadThrough(targetRoot, targetPath);
  return true;
}

bool MachineKeys::ReadValues(RegKey from, KeyFill& into) {
  std::vector<std::uint8_t> data;
  for (std::uint32_t index = 0;; ++index) {
    char name[kRegValueNameCapacity];
    std::uint32_t nameChars = sizeof name;
    std::uint32_t size = 0;
    ValueType type = kRegNone;
    const Status listed = machine_.EnumValue(from, index, name, &nameChars, &type, nullptr, &size);
    if (listed == kErrorNoMoreItems) return true;
    // Read by its index: a name holding a NUL would name another value.
    data.assign(size + 2, 0);
    nameChars = sizeof name;
    if (listed != kErrorSuccess ||
        machine_.EnumValue(from, index, name, &nameChars, &type, data.data(), &size) != kErrorSuccess) {
      return false;
    }
    data.resize(size);
    into.AddValue(std::string(name, nameChars), type, data);
  }
}

void MachineKeys::NoteUnreadable(RegKey root, const std::string& path) {
  if (!unreadable_) unreadable_ = (root == kHkeyCurrentUser ? "HKEY_CURRENT_USER\\" : "HKEY_LOCAL_MACHINE\\") + path;
}

// One key, when first reached: its values, the names of its subkeys (each
// read in turn when reached, as deep as the machine's tree goes) and whether
// it takes writes. What cannot be read is noted.
bool MachineKeys::ReadKey(KeyFill& into, RegKey root, const std::string& path) {
  if (ReadLink(into, root, path)) return true;
  RegKey from = 0;
  const Status opened = machine_.OpenKey(root, path.c_str(), kKeyRead, &from);
  if (opened == kErrorFileNotFound) return false;
  if (opened != kErrorSuccess) {
    NoteUnreadable(root, path);
    return true;
  }
  if (!ReadValues(from, into)) NoteUnreadable(root, path);
  std::vector<std::string> children;
  for (std::uint32_t index = 0;; ++index) {
    char name[kRegKeyNameCapacity];
    std::uint32_t nameChars = kRegKeyNameCapacity;
    const Status listed = machine_.EnumKey(from, index, name, &nameChars);
    if (listed != kErrorSuccess) {
      if (listed != kErrorNoMoreItems) NoteUnreadable(root, path);
      break;
    }
    children.emplace_back(name, nameChars);
  }
  machine_.CloseKey(from);
  for (const std::string& child : children) {
    // No path can name one holding a NUL to read it: it is kept as it is
    // seen, by its name.
    if (child.find('\0') == std::string::npos) {
      into.AddUnreadSubkey(child);
    } else {
      into.AddSubkey(child);
    }
  }
  // After the subkeys: a protected key takes no new ones. Only a refusal
  // says the key is protected; another failure says nothing.
  RegKey writable = 0;
  const Status writes = machine_.OpenKey(root, path.c_str(), kKeyAllAccess, &writable);
  if (writes == kErrorSuccess) machine_.CloseKey(writable);
  if (writes == kErrorAccessDenied) into.Protect();
  if (writes != kErrorSuccess && writes != kErrorAccessDenied) NoteUnreadable(root, path);
  return true;
}

}  // namespace tw
