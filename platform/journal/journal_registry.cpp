#include "platform/journal/journal_registry.h"

#include "platform/journal/reg_syntax.h"

namespace tw {
namespace {

constexpr std::uint32_t kFirstDataBytes = 4096;

// The name is quoted once in UTF-8, where a backslash is always one: in the
// code page's text it may be the trail byte of a double-byte character.
std::string ValueLine(const Journal& journal, const std::string& name, ValueType type,
                      const std::vector<std::uint8_t>& data) {
  const std::string prefix = RegValueName(journal.Utf8(name)) + "=";
  return prefix + FormatData(type, data, std::nullopt);
}

// Registry names compare without regard to ASCII case.
std::string Folded(std::string text) {
  for (char& c : text) c = LowerAscii(c);
  return text;
}

}  // namespace

JournalRegistry::JournalRegistry(Registry& inner, Journal& journal) : inner_(inner), journal_(journal) {
  paths_[kHkeyLocalMachine] = "HKEY_LOCAL_MACHINE";
  paths_[kHkeyCurrentUser] = "HKEY_CURRENT_USER";
}

std::string JournalRegistry::PathOf(RegKey key, const char* subKey) const {
  const auto found = paths_.find(key);
  const std::string path = found != paths_.end() ? found->second : "(unknown key)";
  return subKey != nullptr && *subKey != '\0' ? path + "\\" + subKey : path;
}

Status JournalRegistry::OpenKey(RegKey parent, const char* subKey, AccessMask access, RegKey* result) {
  const Status status = inner_.OpenKey(parent, subKey, access, result);
  if (status == kErrorSuccess) paths_[*result] = PathOf(parent, subKey);
  return status;
}

Status JournalRegistry::CreateKey(RegKey parent, const char* subKey, RegKey* result) {
  const Status status = inner_.CreateKey(parent, subKey, result);
  if (status == kErrorSuccess) paths_[*result] = PathOf(parent, subKey);
  return status;
}

Status JournalRegistry::QueryValue(RegKey key, const char* valueName, ValueType* type, std::uint8_t* data,
                                   std::uint32_t* dataSize) {
  return inner_.QueryValue(key, valueName, type, data, dataSize);
}

Status JournalRegistry::EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameChars) {
  return inner_.EnumKey(key, index, name, nameChars);
}

Status JournalRegistry::EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameChars,
                                  ValueType* type, std::uint8_t* data, std::uint32_t* dataSize) {
  return inner_.EnumValue(key, index, name, nameChars, type, data, dataSize);
}

std::optional<std::string> JournalRegistry::DataOf(RegKey key, const char* valueName) {
  std::optional<std::string> data = DataThrough(key, valueName);
  RegKey reader = 0;
  // A handle opened to write only: the same key once more, to read.
  if (!data && inner_.OpenKey(key, "", kKeyQueryValue, &reader) == kErrorSuccess) {
    data = DataThrough(reader, valueName);
    inner_.CloseKey(reader);
  }
  return data;
}

std::optional<std::string> JournalRegistry::DataThrough(RegKey key, const char* valueName) {
  std::vector<std::uint8_t> data(kFirstDataBytes);
  ValueType type = kRegNone;
  auto size = static_cast<std::uint32_t>(data.size());
  Status status = inner_.QueryValue(key, valueName, &type, data.data(), &size);
  if (status == kErrorMoreData) {
    data.resize(size);
    status = inner_.QueryValue(key, valueName, &type, data.data(), &size);
  }
  if (status != kErrorSuccess) return std::nullopt;
  data.resize(size);
  const std::string line = ValueLine(journal_, valueName != nullptr ? valueName : "", type, data);
  return line.substr(line.find('=') + 1);
}

std::vector<std::string> JournalRegistry::ValueLines(RegKey key) {
  std::vector<std::string> lines;
  std::vector<char> name(kRegValueNameCapacity);
  std::vector<std::uint8_t> data(kFirstDataBytes);
  for (std::uint32_t index = 0;;) {
    std::uint32_t nameChars = kRegValueNameCapacity;
    auto dataSize = static_cast<std::uint32_t>(data.size());
    ValueType type = kRegNone;
    const Status status = inner_.EnumValue(key, index, name.data(), &nameChars, &type, data.data(), &dataSize);
    if (status == kErrorMoreData && dataSize > data.size()) {
      data.resize(dataSize);  // the same index again, with room for its data
      continue;
    }
    if (status != kErrorSuccess) break;
    lines.push_back(ValueLine(journal_, std::string(name.data(), nameChars), type,
                              std::vector<std::uint8_t>(data.begin(), data.begin() + dataSize)));
    ++index;
  }
  return lines;
}

std::vector<std::string> JournalRegistry::ValueLines(RegKey key, const char* subKey) {
  if (subKey == nullptr || *subKey == '\0') {
    const auto kept = valuesBeforeRefusedDelete_.find(key);
    return kept != valuesBeforeRefusedDelete_.end() ? kept->second : ValueLines(key);
  }
  RegKey child = 0;
  if (inner_.OpenKey(key, subKey, kKeyRead, &child) != kErrorSuccess) return {};
  std::vector<std::string> lines = ValueLines(child);
  inner_.CloseKey(child);
  return lines;
}

std::optional<std::string> JournalRegistry::Written(RegKey key, const char* valueName) const {
  if (paths_.count(key) == 0) return std::nullopt;
  const auto found = written_.find(PathOf(key, nullptr) + "\n" + (valueName != nullptr ? valueName : ""));
  return found != written_.end() ? std::optional<std::string>(found->second) : std::nullopt;
}

// Case and the spelling of a path may differ from the write's: whatever the
// path names, in any case, is forgotten; a value reached by another way
// (another spelling, a link) would only cost the read again, as it is not
// found.
void JournalRegistry::Forget(const std::string& path, const char* valueName) {
  const std::string folded = Folded(path);
  for (auto entry = written_.begin(); entry != written_.end();) {
    const std::string key = Folded(entry->first);
    const bool below = valueName != nullptr ? key == folded + "\n" + Folded(valueName)
                                            : key.compare(0, folded.size(), folded) == 0 &&
                                                  (key[folded.size()] == '\\' || key[folded.size()] == '\n');
    entry = below ? written_.erase(entry) : std::next(entry);
  }
}

bool JournalRegistry::HasSubkeys(RegKey key) {
  const Status status = FirstSubkeyStatus(inner_, key);
  return status == kErrorSuccess || status == kErrorMoreData;
}

Status JournalRegistry::SetValue(RegKey key, const char* valueName, ValueType type, const std::uint8_t* data,
                                 std::uint32_t dataSize) {
  valuesBeforeRefusedDelete_.erase(key);
  std::optional<std::string> old = Written(key, valueName);
  if (!old) old = DataOf(key, valueName);
  const Status status = inner_.SetValue(key, valueName, type, data, dataSize);
  const std::string name = valueName != nullptr ? valueName : "";
  Forget(PathOf(key, nullptr), name.c_str());
  if (status != kErrorSuccess) {
    journal_.Failure("set value " + RegValueName(journal_.Utf8(name)) + " of [" + journal_.Utf8(PathOf(key, nullptr)) + "]",
                     status);
    return status;
  }
  const std::string line = ValueLine(journal_, name, type, std::vector<std::uint8_t>(data, data + dataSize));
  const std::string now = line.substr(line.find('=') + 1);
  const std::string note = !old ? "added" : *old == now ? "unchanged" : "was " + *old;
  if (paths_.count(key) != 0) written_[PathOf(key, nullptr) + "\n" + name] = now;
  journal_.RegistryChange(PathOf(key, nullptr), line + "  ; " + note);
  return status;
}

Status JournalRegistry::DeleteValue(RegKey key, const char* valueName) {
  valuesBeforeRefusedDelete_.erase(key);
  const std::optional<std::string> old = DataOf(key, valueName);
  const Status status = inner_.DeleteValue(key, valueName);
  Forget(PathOf(key, nullptr), valueName != nullptr ? valueName : "");
  const std::string name = RegValueName(journal_.Utf8(valueName != nullptr ? valueName : ""));
  if (status != kErrorSuccess) {
    journal_.Failure("delete value " + name + " of [" + journal_.Utf8(PathOf(key, nullptr)) + "]", status);
  } else {
    journal_.RegistryChange(PathOf(key, nullptr), name + "=-" + (old ? "  ; was " + *old : std::string()));
  }
  return status;
}

Status JournalRegistry::DeleteKey(RegKey key, const char* subKey) {
  std::vector<std::string> values = ValueLines(key, subKey);
  const Status status = inner_.DeleteKey(key, subKey);
  Forget(PathOf(key, subKey), nullptr);
  const bool self = subKey == nullptr || *subKey == '\0';
  if (status == kErrorSuccess) {
    if (self) valuesBeforeRefusedDelete_.erase(key);
    journal_.KeyDeleted(PathOf(key, subKey), values);
  } else if (self && HasSubkeys(key)) {
    // Windows NT refuses to delete a key that has subkeys: the caller
    // deletes them first and tries again.
    valuesBeforeRefusedDelete_[key] = std::move(values);
  } else {
    journal_.Failure("delete key [" + journal_.Utf8(PathOf(key, subKey)) + "]", status);
  }
  return status;
}

Status JournalRegistry::CloseKey(RegKey key) {
  paths_.erase(key);
  valuesBeforeRefusedDelete_.erase(key);
  return inner_.CloseKey(key);
}

}  // namespace tw
