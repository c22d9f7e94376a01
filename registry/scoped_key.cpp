#include "registry/scoped_key.h"

#include <cstring>

namespace tw {

namespace {

// Whether the key, opened with kKeyOpenLink, is a registry link itself.
bool IsLink(Registry& registry, RegKey key) {
  ValueType type = kRegNone;
  std::uint32_t size = 0;
  return registry.QueryValue(key, kRegLinkValueName, &type, nullptr, &size) == kErrorSuccess && type == kRegLink;
}

}  // namespace

ScopedKey::ScopedKey(Registry& registry, RegKey root, const std::string& path, AccessMask access)
    : registry_(registry) {
  open_ = registry_.OpenKey(root, path.c_str(), access, &handle_) == kErrorSuccess;
}

ScopedKey::ScopedKey(Registry& registry, RegKey root, const std::optional<std::string>& path, AccessMask access)
    : registry_(registry) {
  if (path) open_ = registry_.OpenKey(root, path->c_str(), access, &handle_) == kErrorSuccess;
}

ScopedKey::ScopedKey(Registry& registry, RegKey root, const std::string& path, AccessMask access, RefuseLinks refuse)
    : registry_(registry) {
  open_ = OpenRefusingLinks(root, KeyPathParts(refuse.codePage, path), access);
}

ScopedKey::ScopedKey(Registry& registry, RegKey root, const std::optional<std::string>& path, AccessMask access,
                     RefuseLinks refuse)
    : registry_(registry) {
  if (path) open_ = OpenRefusingLinks(root, KeyPathParts(refuse.codePage, *path), access);
}

bool ScopedKey::OpenRefusingLinks(RegKey root, const std::vector<std::string>& names, AccessMask access) {
  RegKey parent = root;
  for (std::size_t i = 0; i < names.size(); ++i) {
    const bool last = i + 1 == names.size();
    RegKey key = 0;
    const AccessMask partAccess = (last ? access : 0) | kKeyQueryValue | kKeyOpenLink;
    const Status status = registry_.OpenKey(parent, names[i].c_str(), partAccess, &key);
    if (i > 0) registry_.CloseKey(parent);
    if (status != kErrorSuccess) return false;
    if (IsLink(registry_, key)) {
      registry_.CloseKey(key);
      return false;
    }
    parent = key;
  }
  handle_ = parent;
  return !names.empty();
}

ScopedKey::~ScopedKey() {
  if (open_) registry_.CloseKey(handle_);
}

std::optional<std::vector<std::uint8_t>> ScopedKey::ReadBytes(const char* valueName, std::uint32_t capacity) const {
  if (!open_) return std::nullopt;
  std::vector<std::uint8_t> buffer(capacity);
  std::uint32_t size = capacity;
  if (registry_.QueryValue(handle_, valueName, nullptr, buffer.data(), &size) != kErrorSuccess) return std::nullopt;
  buffer.resize(size);
  return buffer;
}

std::optional<std::string> ScopedKey::ReadText(const char* valueName, std::uint32_t capacity) const {
  auto bytes = ReadBytes(valueName, capacity);
  if (!bytes) return std::nullopt;
  const auto* begin = reinterpret_cast<const char*>(bytes->data());
  const auto* end = static_cast<const char*>(std::memchr(begin, '\0', bytes->size()));
  return std::string(begin, end ? end : begin + bytes->size());
}

Status ScopedKey::DeleteValue(const char* valueName) {
  return open_ ? registry_.DeleteValue(handle_, valueName) : kErrorInvalidHandle;
}

Status ScopedKey::DeleteSelf() { return open_ ? registry_.DeleteKey(handle_, "") : kErrorInvalidHandle; }

Status ScopedKey::SetDword(const char* valueName, std::uint32_t value) {
  if (!open_) return kErrorInvalidHandle;
  const std::uint8_t data[4] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                                static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
  return registry_.SetValue(handle_, valueName, kRegDword, data, sizeof data);
}

Status ScopedKey::SetText(const char* valueName, const std::string& text) {
  if (!open_) return kErrorInvalidHandle;
  return registry_.SetValue(handle_, valueName, kRegSz, reinterpret_cast<const std::uint8_t*>(text.c_str()),
                            static_cast<std::uint32_t>(text.size() + 1));
}

}  // namespace tw
