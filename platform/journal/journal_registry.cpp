#include "platform/journal/journal_registry.h"

#include <utility>

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

JournalRegistry::JournalRegistry(Registry& inner, Journal& journal, std::string bookkeeping)
    : inner_(inner), journal_(journal), bookkeeping_(Folded(std::move(bookkeeping))) {
  paths_[kHkeyLocalMachine] = "HKEY_LOCAL_MACHINE";
  paths_[kHkeyCurrentUser] = "HKEY_CURRENT_USER";
  paths_[kHkeyUsers] = "HKEY_USERS";
}

std::string JournalRegistry::PathOf(RegKey key, const char* subKey) const {
  const auto found = paths_.find(key);
  const std::string path = found != paths_.end() ? found->second : "(unknown key)";
  return subKey != nullptr && *subKey != '\0' ? path + "\\" + subKey : path;
}

// The bookkeeping key's path is ASCII: a path that folds to it there holds
// no double-byte character up to its end, so the backslash after it is one.
bool JournalRegistry::IsBookkeeping(const std::string& path) const {
  if (bookkeeping_.empty() || path.size() < bookkeeping_.size()) return false;
  const std::string folded = Folded(path);
  return folded.compare(0, bookkeeping_.size(), bookkeeping_) == 0 &&
         (folded.size() == bookkeeping_.size() || folded[bookkeeping_.size()] == '\\');
}

Status JournalRegistry::OpenKey(RegKey parent, const char* subKey, AccessMask access, RegKey* result) {
  const Status status = inner_.OpenKey(parent, subKey, access, result);
  if (status == kErrorSuccess) paths_[*result] = PathOf(parent, subKey);
  return status;
}

Status JournalRegistry::CreateKey(RegKey parent, const char* subKey, RegKey* result) {
  const Status status = inner_.CreateKey(parent, subKey, result);
  if (status == kErrorSuccess) {
    paths_[*result] = PathOf(parent, subKey);
  } else {
    journal_.Failure("create key [" + journal_.Utf8(PathOf(parent, subKey)) + "]", status);
  }
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

std::optional<JournalRegistry::Stored> JournalRegistry::DataOf(RegKey key, const char* valueName) {
  std::optional<Stored> value = DataThrough(key, valueName);
  RegKey reader = 0;
  // A handle opened to write only: the same key once more, to read.
  if (!value && inner_.OpenKey(key, "", kKeyQueryValue, &reader) == kErrorSuccess) {
    value = DataThrough(reader, valueName);
    inner_.CloseKey(reader);
  }
  return value;
}

std::optional<JournalRegistry::Stored> JournalRegistry::DataThrough(RegKey key, const char* valueName) {
  Stored value{kRegNone, std::vector<std::uint8_t>(kFirstDataBytes)};
  auto size = static_cast<std::uint32_t>(value.data.size());
  Status status = inner_.QueryValue(key, valueName, &value.type, value.data.data(), &size);
  if (status == kErrorMoreData) {
    value.data.resize(size);
    status = inner_.QueryValue(key, valueName, &value.type, value.data.data(), &size);
  }
  if (status != kErrorSuccess) return std::nullopt;
  value.data.resize(size);
  return value;
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

bool JournalRegistry::HasSubkeys(RegKey key) {
  const Status status = FirstSubkeyStatus(inner_, key);
  return status == kErrorSuccess || status == kErrorMoreData;
}

Status JournalRegistry::SetValue(RegKey key, const char* valueName, ValueType type, const std::uint8_t* data,
                                 std::uint32_t dataSize) {
  valuesBeforeRefusedDelete_.erase(key);
  const std::string path = PathOf(key, nullptr);
  const bool bookkeeping = IsBookkeeping(path);
  const std::optional<Stored> old = bookkeeping ? std::nullopt : DataOf(key, valueName);
  const Status status = inner_.SetValue(key, valueName, type, data, dataSize);
  const std::string name = valueName != nullptr ? valueName : "";
  if (status != kErrorSuccess) {
    journal_.Failure("set value " + RegValueName(journal_.Utf8(name)) + " of [" + journal_.Utf8(path) + "]", status);
    return status;
  }
  if (bookkeeping) return status;
  const std::vector<std::uint8_t> now(data, data + dataSize);
  const bool unchanged = old && old->type == type && old->data == now;
  const std::string note = !old ? "added" : unchanged ? "unchanged" : "was " + FormatData(old->type, old->data, std::nullopt);
  journal_.RegistryChange(path, ValueLine(journal_, name, type, now) + "  ; " + note, !unchanged);
  return status;
}

Status JournalRegistry::DeleteValue(RegKey key, const char* valueName) {
  valuesBeforeRefusedDelete_.erase(key);
  const std::string path = PathOf(key, nullptr);
  const bool bookkeeping = IsBookkeeping(path);
  const std::optional<Stored> old = bookkeeping ? std::nullopt : DataOf(key, valueName);
  const Status status = inner_.DeleteValue(key, valueName);
  const std::string name = RegValueName(journal_.Utf8(valueName != nullptr ? valueName : ""));
  if (status != kErrorSuccess) {
    journal_.Failure("delete value " + name + " of [" + journal_.Utf8(path) + "]", status);
  } else if (!bookkeeping) {
    journal_.RegistryChange(path, name + "=-" + (old ? "  ; was " + FormatData(old->type, old->data, std::nullopt)
                                                     : std::string()));
  }
  return status;
}

Status JournalRegistry::DeleteKey(RegKey key, const char* subKey) {
  const std::string path = PathOf(key, subKey);
  const bool bookkeeping = IsBookkeeping(path);
  std::vector<std::string> values = bookkeeping ? std::vector<std::string>() : ValueLines(key, subKey);
  const Status status = inner_.DeleteKey(key, subKey);
  const bool self = subKey == nullptr || *subKey == '\0';
  if (status == kErrorSuccess) {
    if (self) valuesBeforeRefusedDelete_.erase(key);
    if (!bookkeeping) journal_.KeyDeleted(path, values);
  } else if (self && HasSubkeys(key)) {
    // Windows NT refuses to delete a key that has subkeys: the caller
    // deletes them first and tries again.
    if (!bookkeeping) valuesBeforeRefusedDelete_[key] = std::move(values);
  } else {
    journal_.Failure("delete key [" + journal_.Utf8(path) + "]", status);
  }
  return status;
}

Status JournalRegistry::CloseKey(RegKey key) {
  paths_.erase(key);
  valuesBeforeRefusedDelete_.erase(key);
  return inner_.CloseKey(key);
}

}  // namespace tw
