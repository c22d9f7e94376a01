// An open registry key that is closed when it goes out of scope, with the
// value reads every cleanup step makes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace tw {

class ScopedKey {
 public:
  // How registry links are met. kFollow opens as RegOpenKeyExA does. kRefuse
  // opens the path one part at a time and leaves the key closed when any
  // part is a link: where a fixed key of the layout or a system key is
  // expected, a link (a user can make one in their own hive, pointing
  // anywhere) is not the key we want.
  enum class Links { kFollow, kRefuse };

  ScopedKey(Registry& registry, RegKey root, const std::string& path, AccessMask access,
            Links links = Links::kFollow);
  ScopedKey(Registry& registry, RegKey root, const std::optional<std::string>& path, AccessMask access,
            Links links = Links::kFollow);
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
  void Open(RegKey root, const std::string& path, AccessMask access, Links links);
  bool OpenRefusingLinks(RegKey root, const std::string& path, AccessMask access);

  Registry& registry_;
  RegKey handle_ = 0;
  bool open_ = false;
};

}  // namespace tw
