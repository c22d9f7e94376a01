#include "tests/support/reached_keys.h"

namespace tw::test {

ReachedKey ReachRecordingRegistry::Reach(RegKey parent, const char* subKey, bool opened) {
  const auto found = open_.find(parent);
  // A predefined root, or a handle this registry gave out.
  ReachedKey key = found == open_.end() ? ReachedKey{parent, "", opened} : found->second;
  key.opened = opened;
  const std::string below = subKey ? subKey : "";
  if (!below.empty()) key.path += (key.path.empty() ? "" : "\\") + below;
  reached_.push_back(key);
  return key;
}

Status ReachRecordingRegistry::OpenKey(RegKey parent, const char* subKey, AccessMask access, RegKey* result) {
  const ReachedKey key = Reach(parent, subKey, true);
  const Status status = inner_.OpenKey(parent, subKey, access, result);
  if (status == kErrorSuccess) open_[*result] = key;
  return status;
}

Status ReachRecordingRegistry::CreateKey(RegKey parent, const char* subKey, RegKey* result) {
  const ReachedKey key = Reach(parent, subKey, false);
  const Status status = inner_.CreateKey(parent, subKey, result);
  if (status == kErrorSuccess) open_[*result] = key;
  return status;
}

Status ReachRecordingRegistry::DeleteKey(RegKey key, const char* subKey) {
  Reach(key, subKey, false);
  return inner_.DeleteKey(key, subKey);
}

Status ReachRecordingRegistry::CloseKey(RegKey key) {
  open_.erase(key);
  return inner_.CloseKey(key);
}

}  // namespace tw::test
