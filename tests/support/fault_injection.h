// Decorators that count every call made through the Registry and FileSystem
// interfaces and make one chosen call fail the way Windows fails it, so that a
// test can walk a run through every possible point of failure.
#pragma once

#include <cstdint>

#include "platform/file_system.h"
#include "platform/registry.h"

namespace tw::test {

// ERROR_LOCK_VIOLATION: a file or key that another process holds open.
constexpr Status kErrorLockViolation = 33;

// One counter shared by both decorators, so that "the k-th call" numbers the
// registry and file calls of a run together, in the order they were made.
class FaultSchedule {
 public:
  // failAt 0 never fails: the schedule only counts. With kill, the process
  // dies at that call: neither it nor any later one reaches the machine.
  explicit FaultSchedule(std::uint64_t failAt = 0, Status error = kErrorAccessDenied, bool kill = false)
      : failAt_(failAt), error_(error), kill_(kill) {}

  // Counts a call; true when this is the call that fails.
  bool NextCallFails() { return ++calls_ == failAt_ || (kill_ && Fired()); }
  Status Error() const { return error_; }
  std::uint64_t Calls() const { return calls_; }
  bool Fired() const { return failAt_ != 0 && calls_ >= failAt_; }

 private:
  std::uint64_t failAt_;
  Status error_;
  bool kill_;
  std::uint64_t calls_ = 0;
};

class FaultyRegistry : public Registry {
 public:
  FaultyRegistry(Registry& inner, FaultSchedule& schedule) : inner_(inner), schedule_(schedule) {}

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
  // A failed close still releases the handle, as RegCloseKey does on an
  // error that it reports after the fact.
  Status CloseKey(RegKey key) override;
  Status LoadHive(const char* name, const char* filePath) override;
  Status UnloadHive(const char* name) override;

 private:
  Registry& inner_;
  FaultSchedule& schedule_;
};

class FaultyFileSystem : public FileSystem {
 public:
  FaultyFileSystem(FileSystem& inner, FaultSchedule& schedule) : inner_(inner), schedule_(schedule) {}

  FindHandle FindFirst(const char* pattern, FindData* data) override;
  bool FindNext(FindHandle search, FindData* data) override;
  // A failed FindClose still ends the search.
  bool FindClose(FindHandle search) override;
  std::uint32_t GetAttributes(const char* path) override;
  bool SetAttributes(const char* path, std::uint32_t attributes) override;
  bool RemoveFile(const char* path) override;
  bool RemoveFolder(const char* path) override;
  bool MaySetAttributes(const char* path) override;
  bool MayRemove(const char* path, bool folder) override;
  bool IsPlainFile(const char* path) override;
  Status LastError() override { return injected_ ? schedule_.Error() : inner_.LastError(); }

 private:
  // Counts the call; true (and LastError set) when it is the one that fails.
  bool Inject();

  FileSystem& inner_;
  FaultSchedule& schedule_;
  bool injected_ = false;
};

}  // namespace tw::test
