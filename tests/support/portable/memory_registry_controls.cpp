#include "tests/support/portable/memory_registry_controls.h"

#include "platform/memory/folded_name.h"
#include "platform/memory/key_node.h"

namespace tw::test {
namespace {

// The native path Windows stores in a link, in UTF-16 without a terminator.
std::vector<std::uint8_t> NativeLinkPath(RegKey root, const std::string& path) {
  const char* prefix = root == kHkeyCurrentUser ? "\\REGISTRY\\USER\\CURRENT\\"
                       : root == kHkeyUsers     ? "\\REGISTRY\\USER\\"
                                                : "\\REGISTRY\\MACHINE\\";
  const std::string native = prefix + path;
  std::vector<std::uint8_t> data;
  for (char c : native) {
    data.push_back(static_cast<std::uint8_t>(c));
    data.push_back(0);
  }
  return data;
}

}  // namespace

void MemoryRegistryControls::Protect(RegKey root, const std::string& path) {
  MemoryRegistry::OpenHandle base;
  if (registry_.Resolve(root, &base) != kErrorSuccess) return;
  std::shared_ptr<KeyNode> node;
  if (registry_.Walk(base.node, path, true, true, &node) == kErrorSuccess) node->isProtected = true;
}

Status MemoryRegistryControls::CreateLink(RegKey parent, const std::string& name, RegKey targetRoot,
                                          const std::string& targetPath) {
  MemoryRegistry::OpenHandle base;
  if (Status status = registry_.Resolve(parent, &base); status != kErrorSuccess) return status;
  if (base.node->Child(name)) return kErrorAlreadyExists;
  const std::shared_ptr<KeyNode> link = base.node->AddChild(name);
  link->isLink = true;
  link->linkRoot = targetRoot;
  link->linkPath = targetPath;
  link->values.Set(kRegLinkValueName, kRegLink, NativeLinkPath(targetRoot, targetPath));
  return kErrorSuccess;
}

Status MemoryRegistryControls::CreateKeyNamed(RegKey parent, const std::string& name) {
  MemoryRegistry::OpenHandle base;
  if (Status status = registry_.Resolve(parent, &base); status != kErrorSuccess) return status;
  if (!base.node->Child(name)) base.node->AddChild(name);
  return kErrorSuccess;
}

Status MemoryRegistryControls::DeleteKeyNamed(RegKey parent, const std::string& name) {
  MemoryRegistry::OpenHandle base;
  if (Status status = registry_.Resolve(parent, &base); status != kErrorSuccess) return status;
  const std::shared_ptr<KeyNode> node = base.node->Child(name);
  return node ? registry_.RemoveNode(node) : kErrorFileNotFound;
}

Status MemoryRegistryControls::RenameKey(RegKey key, const char* subKey, const std::string& newName) {
  MemoryRegistry::OpenHandle handle;
  if (Status status = registry_.Resolve(key, &handle); status != kErrorSuccess) return status;
  std::shared_ptr<KeyNode> node;
  const std::string path = subKey ? std::string(subKey) : std::string();
  if (Status status = registry_.Walk(handle.node, path, false, false, &node); status != kErrorSuccess) return status;
  KeyNode* parent = node->parent;
  const std::string folded = FoldedName(newName, registry_.codePage_);
  if (!parent || node->isProtected || newName.empty()) return kErrorAccessDenied;
  if (parent->Child(newName)) return kErrorAlreadyExists;
  parent->children.erase(parent->LowerBound(node->folded));
  node->name = newName;
  node->folded = folded;
  parent->children.insert(parent->LowerBound(folded), node);
  return kErrorSuccess;
}

}  // namespace tw::test
