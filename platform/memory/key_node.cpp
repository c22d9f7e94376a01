#include "platform/memory/key_node.h"

#include <algorithm>

#include "platform/memory/folded_name.h"

namespace tw {

std::vector<std::shared_ptr<KeyNode>>::iterator KeyNode::LowerBound(const std::string& foldedName) {
  return std::lower_bound(children.begin(), children.end(), foldedName,
                          [](const std::shared_ptr<KeyNode>& child, const std::string& key) { return child->folded < key; });
}

std::shared_ptr<KeyNode> KeyNode::Child(const std::string& childName) {
  const std::string key = FoldedName(childName, codePage);
  auto it = LowerBound(key);
  return (it != children.end() && (*it)->folded == key) ? *it : nullptr;
}

std::shared_ptr<KeyNode> KeyNode::AddChild(const std::string& childName) {
  auto child = std::make_shared<KeyNode>(codePage);
  child->name = childName;
  child->folded = FoldedName(childName, codePage);
  child->parent = this;
  children.insert(LowerBound(child->folded), child);
  if (pending.partial) pending.named.insert(child->folded);
  return child;
}

void KeyNode::MarkDeleted() {
  deleted = true;
  parent = nullptr;
  for (auto& child : children) child->MarkDeleted();
}

}  // namespace tw
