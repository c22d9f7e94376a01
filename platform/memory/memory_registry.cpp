#include "platform/memory/memory_registry.h"

#include <algorithm>
#include <cstring>

#include "platform/memory/folded_name.h"
#include "platform/memory/key_fill.h"
#include "platform/memory/value_list.h"

namespace tw {
namespace {

// Windows gives up after this many links in a row.
constexpr int kMaxLinkDepth = 16;

constexpr AccessMask kWriteAccess = kKeySetValue | kKeyCreateSubKey | kKeyCreateLink | kDelete | kWriteDac | kWriteOwner;

std::string NameOf(const char* name) { return name ? std::string(name) : std::string(); }

bool IsText(ValueType type) { return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz; }

// Copies a value's data out. Text that was stored without its terminator gets
// one after the data when the buffer has room; the size reported stays that of
// the stored data.
void CopyData(ValueType type, const std::vector<std::uint8_t>& stored, std::uint8_t* data, std::uint32_t capacity) {
  std::copy(stored.begin(), stored.end(), data);
  if (IsText(type) && !stored.empty() && stored.back() != 0 && stored.size() < capacity) data[stored.size()] = 0;
}

}  // namespace

MemoryRegistry::MemoryRegistry(const CodePage& codePage, KeySource* source)
    : codePage_(codePage),
      source_(source),
      localMachine_(std::make_shared<Node>(codePage_)),
      currentUser_(std::make_shared<Node>(codePage_)),
      users_(std::make_shared<Node>(codePage_)) {
  localMachine_->name = "HKEY_LOCAL_MACHINE";
  currentUser_->name = "HKEY_CURRENT_USER";
  users_->name = "HKEY_USERS";
}

const std::shared_ptr<MemoryRegistry::Node>* MemoryRegistry::RootNode(RegKey key) const {
  if (key == kHkeyLocalMachine) return &localMachine_;
  if (key == kHkeyCurrentUser) return &currentUser_;
  if (key == kHkeyUsers) return &users_;
  return nullptr;
}

MemoryRegistry::~MemoryRegistry() = default;

Status MemoryRegistry::Resolve(RegKey key, OpenHandle* handle) const {
  if (const auto* root = RootNode(key)) {
    *handle = {*root, kKeyAllAccess};
  } else {
    auto it = handles_.find(key);
    if (it == handles_.end()) return kErrorInvalidHandle;
    *handle = it->second;
  }
  return handle->node->deleted ? kErrorKeyDeleted : kErrorSuccess;
}

Status MemoryRegistry::Walk(const std::shared_ptr<Node>& start, const std::string& path, bool create,
                            bool followLast, std::shared_ptr<Node>* result, int depth) {
  if (!path.empty() && path.front() == '\\') return kErrorBadPathname;
  std::shared_ptr<Node> node = start;
  const std::vector<std::string> parts = KeyPathParts(codePage_, path);
  for (std::size_t i = 0; i < parts.size(); ++i) {
    std::shared_ptr<Node> child = node->Child(parts[i]);
    if (child) Reach(child);
    if (child && child->deleted) child = nullptr;
    if (!child) {
      if (!create) return kErrorFileNotFound;
      if (node->isProtected) return kErrorAccessDenied;
      child = node->AddChild(parts[i]);
    }
    const bool last = i + 1 == parts.size();
    if (child->isLink && (followLast || !last)) {
      child = Target(*child, depth);
      if (!child) return kErrorFileNotFound;
    }
    node = child;
  }
  *result = node;
  return kErrorSuccess;
}

std::shared_ptr<MemoryRegistry::Node> MemoryRegistry::Target(const Node& link, int depth) {
  if (depth >= kMaxLinkDepth) return nullptr;
  std::shared_ptr<Node> target;
  const auto* root = RootNode(link.linkRoot);
  if (!root || Walk(*root, link.linkPath, false, true, &target, depth + 1) != kErrorSuccess) return nullptr;
  return target;
}

RegKey MemoryRegistry::AddHandle(std::shared_ptr<Node> node, AccessMask access) {
  const RegKey handle = nextHandle_;
  nextHandle_ += 4;
  handles_.emplace(handle, OpenHandle{std::move(node), access});
  return handle;
}

Status MemoryRegistry::OpenKey(RegKey parent, const char* subKey, AccessMask access, RegKey* result) {
  OpenHandle base;
  if (Status status = Resolve(parent, &base); status != kErrorSuccess) return status;
  std::shared_ptr<Node> node;
  const bool followLast = (access & kKeyOpenLink) == 0;
  if (Status status = Walk(base.node, NameOf(subKey), false, followLast, &node); status != kErrorSuccess) return status;
  if ((access & kWriteAccess) != 0 && node->isProtected) return kErrorAccessDenied;
  *result = AddHandle(node, access);
  return kErrorSuccess;
}

Status MemoryRegistry::CreateKey(RegKey parent, const char* subKey, RegKey* result) {
  OpenHandle base;
  if (Status status = Resolve(parent, &base); status != kErrorSuccess) return status;
  std::shared_ptr<Node> node;
  if (Status status = Walk(base.node, NameOf(subKey), true, true, &node); status != kErrorSuccess) return status;
  if (node->isProtected) return kErrorAccessDenied;
  *result = AddHandle(node, kKeyAllAccess);
  return kErrorSuccess;
}

Status MemoryRegistry::QueryValue(RegKey key, const char* valueName, ValueType* type, std::uint8_t* data,
                                  std::uint32_t* dataSize) {
  OpenHandle handle;
  if (Status status = Resolve(key, &handle); status != kErrorSuccess) return status;
  if ((handle.access & kKeyQueryValue) == 0) return kErrorAccessDenied;
  if (data && !dataSize) return kErrorInvalidParameter;
  const ValueList::Value* value = handle.node->values.Find(NameOf(valueName));
  if (!value) return kErrorFileNotFound;
  const auto size = static_cast<std::uint32_t>(value->data.size());
  if (type) *type = value->type;
  if (!dataSize) return kErrorSuccess;
  if (data && *dataSize < size) {
    *dataSize = size;
    return kErrorMoreData;
  }
  if (data) CopyData(value->type, value->data, data, *dataSize);
  *dataSize = size;
  return kErrorSuccess;
}

Status MemoryRegistry::SetValue(RegKey key, const char* valueName, ValueType type, const std::uint8_t* data,
                                std::uint32_t dataSize) {
  OpenHandle handle;
  if (Status status = Resolve(key, &handle); status != kErrorSuccess) return status;
  if ((handle.access & kKeySetValue) == 0) return kErrorAccessDenied;
  if (!data && dataSize != 0) return kErrorInvalidParameter;
  // Like RegSetValueExA, a text whose count left out a terminator that is
  // there after it is stored with the terminator.
  if (IsText(type) && dataSize != 0 && data[dataSize - 1] != 0 && data[dataSize] == 0) ++dataSize;
  return StoreValue(key, NameOf(valueName), type, std::vector<std::uint8_t>(data, data + dataSize));
}

Status MemoryRegistry::StoreValue(RegKey key, const std::string& name, ValueType type,
                                     const std::vector<std::uint8_t>& data) {
  OpenHandle handle;
  if (Status status = Resolve(key, &handle); status != kErrorSuccess) return status;
  if ((handle.access & kKeySetValue) == 0) return kErrorAccessDenied;
  // A link holds its target and nothing else.
  if (handle.node->isLink && (type != kRegLink || FoldedName(name, codePage_) != FoldedName(kRegLinkValueName, codePage_))) {
    return kErrorAccessDenied;
  }
  handle.node->values.Set(name, type, data);
  return kErrorSuccess;
}

Status MemoryRegistry::EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameChars) {
  OpenHandle handle;
  if (Status status = Resolve(key, &handle); status != kErrorSuccess) return status;
  if ((handle.access & kKeyEnumerateSubKeys) == 0) return kErrorAccessDenied;
  if (!name || !nameChars) return kErrorInvalidParameter;
  if (index >= handle.node->children.size()) return kErrorNoMoreItems;
  const std::string& childName = handle.node->children[index]->name;
  if (childName.size() + 1 > *nameChars) return kErrorMoreData;
  std::memcpy(name, childName.c_str(), childName.size() + 1);
  *nameChars = static_cast<std::uint32_t>(childName.size());
  return kErrorSuccess;
}

Status MemoryRegistry::EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameChars,
                                 ValueType* type, std::uint8_t* data, std::uint32_t* dataSize) {
  OpenHandle handle;
  if (Status status = Resolve(key, &handle); status != kErrorSuccess) return status;
  if ((handle.access & kKeyQueryValue) == 0) return kErrorAccessDenied;
  if (!name || !nameChars || (data && !dataSize)) return kErrorInvalidParameter;
  const ValueList::Value* found = handle.node->values.At(index);
  if (!found) return kErrorNoMoreItems;
  const ValueList::Value& value = *found;
  const auto size = static_cast<std::uint32_t>(value.data.size());
  if (value.name.size() + 1 > *nameChars) return kErrorMoreData;
  if (data && *dataSize < size) {
    *dataSize = size;
    return kErrorMoreData;
  }
  std::memcpy(name, value.name.c_str(), value.name.size() + 1);
  *nameChars = static_cast<std::uint32_t>(value.name.size());
  if (type) *type = value.type;
  if (data) CopyData(value.type, value.data, data, *dataSize);
  if (dataSize) *dataSize = size;
  return kErrorSuccess;
}

Status MemoryRegistry::DeleteValue(RegKey key, const char* valueName) {
  OpenHandle handle;
  if (Status status = Resolve(key, &handle); status != kErrorSuccess) return status;
  if ((handle.access & kKeySetValue) == 0) return kErrorAccessDenied;
  return handle.node->values.Remove(NameOf(valueName)) ? kErrorSuccess : kErrorFileNotFound;
}

Status MemoryRegistry::DeleteKey(RegKey key, const char* subKey) {
  OpenHandle handle;
  if (Status status = Resolve(key, &handle); status != kErrorSuccess) return status;
  if (!subKey) return kErrorInvalidParameter;
  std::shared_ptr<Node> node;
  if (Status status = Walk(handle.node, subKey, false, false, &node); status != kErrorSuccess) return status;
  return RemoveNode(node);
}

bool MemoryRegistry::TreeIsProtected(const std::shared_ptr<Node>& node) {
  if (node->isProtected) return true;
  const std::vector<std::shared_ptr<Node>> children = node->children;  // reaching one may remove it
  return std::any_of(children.begin(), children.end(), [this](const std::shared_ptr<Node>& child) {
    Reach(child);
    return !child->deleted && TreeIsProtected(child);
  });
}

Status MemoryRegistry::RemoveNode(const std::shared_ptr<Node>& node) {
  Reach(node);
  Node* parent = node->parent;
  if (node->deleted) return kErrorFileNotFound;  // its source had none
  if (!parent) return kErrorAccessDenied;  // a root
  if (!node->children.empty() && !deletesWholeTree_) return kErrorAccessDenied;
  if (TreeIsProtected(node)) return kErrorAccessDenied;
  parent->children.erase(parent->LowerBound(node->folded));
  node->MarkDeleted();
  return kErrorSuccess;
}

Status MemoryRegistry::CloseKey(RegKey key) {
  if (RootNode(key)) return kErrorSuccess;
  return handles_.erase(key) == 1 ? kErrorSuccess : kErrorInvalidHandle;
}

void MemoryRegistry::Reach(const std::shared_ptr<Node>& node) {
  if (!node->pending.unread) return;
  node->pending.unread = false;
  KeyFill fill(*this, *node);
  const bool found = !source_ || source_->ReadKey(fill, node->pending.root, node->pending.path);
  // A key that held paths to others stays for them.
  const bool wasPartial = node->pending.partial;
  node->pending.partial = false;
  node->pending.named.clear();
  if (found || wasPartial || !node->parent) return;
  Node* parent = node->parent;
  parent->children.erase(parent->LowerBound(node->folded));
  node->MarkDeleted();
}

void MemoryRegistry::ReadThrough(RegKey root, const std::string& path) {
  const auto* rootNode = RootNode(root);
  if (!rootNode) return;
  std::shared_ptr<Node> node = *rootNode;
  const std::vector<std::string> parts = KeyPathParts(codePage_, path);
  if (parts.empty()) return;  // never a whole root
  if (node->children.empty()) node->pending.partial = true;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    // Below a key still to be read or a link, the path is the source's.
    if (node->pending.unread || node->isLink) return;
    std::shared_ptr<Node> child = node->Child(parts[i]);
    if (!child) {
      if (!node->pending.partial || node->pending.named.count(FoldedName(parts[i], codePage_)) != 0) return;
      child = node->AddChild(parts[i]);
      child->pending.partial = i + 1 < parts.size();
      child->pending.unread = !child->pending.partial;
    }
    node = child;
  }
  if (!node->pending.unread && !node->pending.partial) return;  // known already
  node->pending.unread = true;
  node->pending.root = root;
  node->pending.path = path;
}

// A hive is one key below HKEY_USERS; its file, while loaded, is in use.
Status MemoryRegistry::LoadHive(const char* name, const char* filePath) {
  const std::string keyName = NameOf(name);
  if (keyName.empty() || keyName.find('\\') != std::string::npos) return kErrorInvalidParameter;
  if (users_->Child(keyName)) return kErrorAlreadyExists;
  const auto file = hiveFiles_.find(FoldedName(NameOf(filePath), codePage_));
  if (file == hiveFiles_.end()) return kErrorFileNotFound;
  if (!file->second) return kErrorSharingViolation;
  const std::shared_ptr<Node> hive = std::move(file->second);  // null from now: in use
  hive->name = keyName;
  hive->folded = FoldedName(keyName, codePage_);
  hive->parent = users_.get();
  hive->hiveFile = NameOf(filePath);
  users_->children.insert(users_->LowerBound(hive->folded), hive);
  return kErrorSuccess;
}

Status MemoryRegistry::UnloadHive(const char* name) {
  const std::shared_ptr<Node> hive = users_->Child(NameOf(name));
  if (!hive || hive->hiveFile.empty()) return kErrorInvalidParameter;
  const auto inside = [&hive](const Node* node) {
    for (; node; node = node->parent) {
      if (node == hive.get()) return true;
    }
    return false;
  };
  for (const auto& handle : handles_) {
    if (inside(handle.second.node.get())) return kErrorAccessDenied;
  }
  const std::string file = hive->hiveFile;  // cleared as the hive goes
  return StoreHive(NameOf(name), file);
}

Status MemoryRegistry::StoreHive(const std::string& name, const std::string& filePath) {
  const std::shared_ptr<Node> hive = users_->Child(name);
  if (!hive) return kErrorFileNotFound;
  users_->children.erase(users_->LowerBound(hive->folded));
  hive->parent = nullptr;
  hive->hiveFile.clear();
  hiveFiles_[FoldedName(filePath, codePage_)] = hive;
  return kErrorSuccess;
}

}  // namespace tw
