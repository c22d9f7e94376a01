#include "platform/memory/key_fill.h"

#include "platform/memory/folded_name.h"
#include "platform/memory/key_node.h"
#include "platform/memory/memory_registry.h"

namespace tw {

void KeyFill::AddUnreadSubkey(const std::string& name) {
  if (node_.Child(name) || node_.pending.named.count(FoldedName(name, node_.codePage)) != 0) return;
  const std::shared_ptr<KeyNode> child = node_.AddChild(name);
  child->pending.unread = true;
  child->pending.root = node_.pending.root;
  child->pending.path = node_.pending.path + "\\" + name;
}

void KeyFill::AddSubkey(const std::string& name) {
  if (!node_.Child(name)) node_.AddChild(name);
}

void KeyFill::AddValue(const std::string& name, ValueType type, const std::vector<std::uint8_t>& data) {
  if (!node_.values.Find(name)) node_.values.Set(name, type, data);
}

void KeyFill::MakeLink(RegKey targetRoot, const std::string& targetPath, const std::vector<std::uint8_t>& value) {
  node_.isLink = true;
  node_.linkRoot = targetRoot;
  node_.linkPath = targetPath;
  node_.values.Set(kRegLinkValueName, kRegLink, value);
}

void KeyFill::Protect() { node_.isProtected = true; }

void KeyFill::ReadThrough(RegKey root, const std::string& path) { registry_.ReadThrough(root, path); }

}  // namespace tw
