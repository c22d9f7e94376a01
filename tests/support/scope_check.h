// Whole images of the registry and of the disk taken before and after a run,
// and the changes between them that the uninstaller had no business making:
// it may change the family's tree and, within narrow rules, the system keys
// that hold the family's help registrations, application paths and sound
// events; nothing else in the registry and nothing on disk outside the
// folders it is told about.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace tw::test {

struct ValueImage {
  std::string name;
  ValueType type = kRegNone;
  std::vector<std::uint8_t> data;
  bool operator==(const ValueImage& other) const {
    return name == other.name && type == other.type && data == other.data;
  }
};

struct KeyImage {
  std::string path;  // "HKEY_LOCAL_MACHINE\SOFTWARE\..." as stored
  std::map<std::string, ValueImage> values;  // by upper-cased name
  bool operator==(const KeyImage& other) const { return path == other.path && values == other.values; }
};

// Every key of both roots, by upper-cased full path.
using RegistryImage = std::map<std::string, KeyImage>;
RegistryImage CaptureRegistry(Registry& registry);

// One line per change that lies outside what a run for this language code
// (as the program upper-cased it) may change.
std::vector<std::string> RegistryChangesOutsideScope(const RegistryImage& before, const RegistryImage& after,
                                                     const std::string& languageCode);

// Every file, folder and link below root except the excluded trees, with its
// kind, permissions and content.
using DiskImage = std::map<std::string, std::string>;
DiskImage CaptureDisk(const std::filesystem::path& root, const std::vector<std::filesystem::path>& excluded = {});
std::vector<std::string> DiskChanges(const DiskImage& before, const DiskImage& after);

// Text of a value's data up to its terminator.
std::string DataText(const std::vector<std::uint8_t>& data);
// Upper-cases A..Z, the only letters the registry folds.
std::string FoldCase(std::string text);

}  // namespace tw::test
