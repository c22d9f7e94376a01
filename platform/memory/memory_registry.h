// An in-memory registry with the Windows behaviour the uninstaller relies on:
// three roots (HKEY_USERS holding hives that files are loaded into); names compared without regard to case, stored case kept; subkeys
// enumerated in case-insensitive name order and values in creation order; the
// buffer-size rules of the 8-bit calls; access checked against the handle;
// a key with subkeys that cannot be deleted unless whole-tree deletion (the
// older systems' behaviour) is switched on. Registry links are followed on
// the way through a path and, unless the open asks for the link itself, at
// its end; deleting never follows the last one. Names are kept whole, NUL
// characters included, although the 8-bit calls can name none that holds one.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <map>
#include <vector>

#include "platform/code_page.h"
#include "platform/memory/key_node.h"
#include "platform/memory/key_source.h"
#include "platform/registry.h"

namespace tw {
namespace test {
class MemoryRegistryControls;
}  // namespace test

class MemoryRegistry : public Registry {
 public:
  // Names are split and folded as the code page reads them. It must outlive
  // the registry, as must the source of the keys read through, if any.
  explicit MemoryRegistry(const CodePage& codePage, KeySource* source = nullptr);
  ~MemoryRegistry() override;

  Status OpenKey(RegKey parent, const char* subKey, AccessMask access, RegKey* result) override;
  Status CreateKey(RegKey parent, const char* subKey, RegKey* result) override;
  Status QueryValue(RegKey key, const char* valueName, ValueType* type, std::uint8_t* data,
                    std::uint32_t* dataSize) override;
  Status SetValue(RegKey key, const char* valueName, ValueType type, const std::uint8_t* data,
                  std::uint32_t dataSize) override;
  Status EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameChars) override;
  Status EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameChars, ValueType* type,
                   std::uint8_t* data, std::uint32_t* dataSize) override;
  Status DeleteValue(RegKey key, const char* valueName) override;
  Status DeleteKey(RegKey key, const char* subKey) override;
  Status CloseKey(RegKey key) override;
  Status LoadHive(const char* name, const char* filePath) override;
  Status UnloadHive(const char* name) override;

  // Read through from the source: the key at root\path and everything below
  // it is filled in by the source when a call first reaches it, not before.
  // The keys on the way hold only such paths.
  void ReadThrough(RegKey root, const std::string& path);

 private:
  // What the 8-bit calls cannot make (links, names holding NUL characters,
  // protected keys, stored hives) the tests make through this alone.
  friend class test::MemoryRegistryControls;

  using Node = KeyNode;
  struct OpenHandle {
    std::shared_ptr<Node> node;
    AccessMask access;
  };

  const std::shared_ptr<Node>* RootNode(RegKey key) const;
  Status Resolve(RegKey key, OpenHandle* handle) const;
  // The key at subKey below start; links on the way are followed, the one
  // at the end only when followLast is set.
  Status Walk(const std::shared_ptr<Node>& start, const std::string& subKey, bool create, bool followLast,
              std::shared_ptr<Node>* result, int depth = 0);
  // The key a link points to, or null when it points nowhere.
  std::shared_ptr<Node> Target(const Node& link, int depth);
  Status RemoveNode(const std::shared_ptr<Node>& node);
  // A key read through is read on its first touch; one its source lacks is
  // gone then.
  void Reach(const std::shared_ptr<Node>& node);
  bool TreeIsProtected(const std::shared_ptr<Node>& node);
  // The value whose name is taken whole, as SetValue stores it.
  Status StoreValue(RegKey key, const std::string& name, ValueType type, const std::vector<std::uint8_t>& data);
  // The key HKEY_USERS\name and all below it made the hive file at
  // filePath, as a user who logs off leaves it; LoadHive reads it again.
  Status StoreHive(const std::string& name, const std::string& filePath);
  RegKey AddHandle(std::shared_ptr<Node> node, AccessMask access);

  const CodePage& codePage_;
  KeySource* source_;
  std::shared_ptr<Node> localMachine_;
  std::shared_ptr<Node> currentUser_;
  std::shared_ptr<Node> users_;
  // Hive files by folded path; null while the file is loaded.
  std::map<std::string, std::shared_ptr<Node>> hiveFiles_;
  std::map<RegKey, OpenHandle> handles_;
  RegKey nextHandle_ = 0x1000;
  // Older systems delete a key together with its subkeys.
  bool deletesWholeTree_ = false;
};

}  // namespace tw
