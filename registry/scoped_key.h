// An open registry key that is closed when it goes out of scope, with the
// value reads every cleanup step makes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/code_page.h"
#include "platform/registry.h"

namespace tw {

class ScopedKey {
 public:
  // Opens as RegOpenKeyExA does, following registry links.
  ScopedKey(Registry& registry, RegKey root, const std::string& path, AccessMask access);
  ScopedKey(Registry& registry, RegKey root, const std::optional<std::string>& path, AccessMask access);

  // Opens the path one name at a time, split as the code page splits it, and
  // leaves the key closed when any name is a link: where a fixed key of the
  // layout or a system key is expected, a link (a user can make one in their
  // own hive, pointing anywhere) is not the key we want.
  struct RefuseLinks {
    const CodePage& codePage;
  };
  ScopedKey(Registry& registry, RegKey root, const std::string& path, AccessMask access, RefuseLinks refuse);
  ScopedKey(Registry& registry, RegKey root, const std::optional<std::string>& path, AccessMask access,
            RefuseLinks refuse);
  ~ScopedKey();
  ScopedKey(const ScopedKey&) = delete;
  ScopedKey& operator=(const ScopedKey&) = delete;

  bool IsOpen() const { return open_; }
  RegKey Handle() const { return handle_; }

  // The value read into a buffer of capacity bytes, as a text: up to its first
  // terminator or the end of its data, never beyond. Empty when the key is
  // closed, the value is missing or its data does not fit.
  std::optional<std::string> ReadText(const char* valueName, std::uint32_t capacity) const;
  // The value's bytes read into a buffer of capacity bytes.
  std::optional<std::vector<std::uint8_t>> ReadBytes(const char* valueName, std::uint32_t capacity) const;

  Status DeleteValue(const char* valueName);
  // Deletes the key the handle names (the empty subkey name).
  Status DeleteSelf();
  Status SetDword(const char* valueName, std::uint32_t value);
  // A REG_SZ value holding the text and its terminator.
  Status SetText(const char* valueName, const std::string& text);

 private:
  bool OpenRefusingLinks(RegKey root, const std::vector<std::string>& names, AccessMask access);

  Registry& registry_;
  RegKey handle_ = 0;
  bool open_ = false;
};

}  // namespace tw
