// One key of the in-memory registry: its name, subkeys and values, whether it
// is a link or refused for writing, and what is still to be read into it from
// the registry's source.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/code_page.h"
#include "platform/memory/value_list.h"
#include "platform/types.h"

namespace tw {

// A key read through from a source: still to be read from root\path when
// first reached (unread); or holding only the paths to keys read through
// (partial), with every folded name it ever had: a name it lost stays lost,
// one it never had is not the source's.
struct PendingRead {
  bool unread = false;
  bool partial = false;
  RegKey root = 0;
  std::string path;
  std::set<std::string> named;
};

struct KeyNode {
  explicit KeyNode(const CodePage& page) : values(page), codePage(page) {}

  std::vector<std::shared_ptr<KeyNode>>::iterator LowerBound(const std::string& foldedName);
  // Null when there is no subkey of that name.
  std::shared_ptr<KeyNode> Child(const std::string& childName);
  std::shared_ptr<KeyNode> AddChild(const std::string& childName);
  // The key and all below it gone: handles open on them say so.
  void MarkDeleted();

  std::string name;
  std::string folded;
  KeyNode* parent = nullptr;
  std::vector<std::shared_ptr<KeyNode>> children;  // sorted by folded name
  ValueList values;
  bool deleted = false;
  bool isProtected = false;
  bool isLink = false;
  RegKey linkRoot = 0;
  std::string linkPath;
  PendingRead pending;
  // A hive's root key: the file LoadHive read it from, as given.
  std::string hiveFile;
  const CodePage& codePage;
};

}  // namespace tw
