// One key of an in-memory registry as its source fills it on its first
// touch. What the key already holds (or held and lost) by the same name is
// kept.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/types.h"

namespace tw {

class MemoryRegistry;
struct KeyNode;

class KeyFill {
 public:
  KeyFill(MemoryRegistry& registry, KeyNode& node) : registry_(registry), node_(node) {}

  // A subkey read in its turn when reached, from the source's path below
  // this key's.
  void AddUnreadSubkey(const std::string& name);
  // A subkey kept as it is seen, by its whole name: one that holds a NUL
  // character, which no path can name to read it.
  void AddSubkey(const std::string& name);
  void AddValue(const std::string& name, ValueType type, const std::vector<std::uint8_t>& data);
  // The key made a link to targetRoot\targetPath holding `value` as its
  // "SymbolicLinkValue".
  void MakeLink(RegKey targetRoot, const std::string& targetPath, const std::vector<std::uint8_t>& value);
  // The key refused for writing.
  void Protect();
  // Another tree read through from the source as well: a link's target.
  void ReadThrough(RegKey root, const std::string& path);

 private:
  MemoryRegistry& registry_;
  KeyNode& node_;
};

}  // namespace tw
