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
#include <functional>
#include <memory>
#include <string>
#include <map>
#include <vector>

#include "platform/code_page.h"
#include "platform/memory/key_node.h"
#include "platform/memory/key_source.h"
#include "platform/registry.h"

namespace tw {

class MemoryRegistry : public Registry {
 public:
  // Names are split and folded as the code page reads them (null: a
  // single-byte one); it must outlive the registry, as must the source.
  explicit MemoryRegistry(const CodePage* codePage = nullptr, KeySource* source = nullptr);
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

  // Older systems delete a key together with its subkeys.
  void SetDeletesWholeTree(bool wholeTree) { deletesWholeTree_ = wholeTree; }
  // Opening the key for anything but reading, and deleting it, is denied from
  // now on. The key is created when missing.
  void Protect(RegKey root, const std::string& path);
  // What the 8-bit calls cannot make, for the tests. A registry link at
  // parent\name to targetRoot\targetPath, which need not exist; it holds
  // the value "SymbolicLinkValue" that Windows gives a link.
  Status CreateLink(RegKey parent, const std::string& name, RegKey targetRoot, const std::string& targetPath);
  // A subkey or value whose name is taken whole: it may hold NUL characters.
  Status CreateKeyNamed(RegKey parent, const std::string& name);
  Status SetValueNamed(RegKey key, const std::string& name, ValueType type, const std::vector<std::uint8_t>& data);
  Status DeleteKeyNamed(RegKey parent, const std::string& name);
  // RegRenameKey: the key at key\subKey (a link itself, not its target) gets
  // the new name; handles open on it stay on it.
  Status RenameKey(RegKey key, const char* subKey, const std::string& newName);
  // Runs before each call of the Registry interface (not before the hook's
  // own calls): another process changing the registry in the middle of a walk.
  void SetBetweenCalls(std::function<void()> hook) { betweenCalls_ = std::move(hook); }
  // The key HKEY_USERS\name and all below it made the hive file at
  // filePath, as a user who logs off leaves it; LoadHive reads it again.
  // (Keys below HKEY_USERS are made as anywhere else: a logged-on user's.)
  Status StoreHiveFile(const std::string& name, const std::string& filePath);
  // Handles opened and not yet closed, roots excepted.
  std::size_t OpenHandleCount() const { return handles_.size(); }

  // Read through from the source: the key at root\path and everything below
  // it is filled in by the source when a call first reaches it, not before.
  // The keys on the way hold only such paths.
  void ReadThrough(RegKey root, const std::string& path);

 private:
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
  void BetweenCalls();
  RegKey AddHandle(std::shared_ptr<Node> node, AccessMask access);

  const CodePage* codePage_;
  KeySource* source_;
  std::shared_ptr<Node> localMachine_;
  std::shared_ptr<Node> currentUser_;
  std::shared_ptr<Node> users_;
  // Hive files by folded path; null while the file is loaded.
  std::map<std::string, std::shared_ptr<Node>> hiveFiles_;
  std::map<RegKey, OpenHandle> handles_;
  RegKey nextHandle_ = 0x1000;
  bool deletesWholeTree_ = false;
  std::function<void()> betweenCalls_;
  bool inBetweenCalls_ = false;
};

}  // namespace tw
