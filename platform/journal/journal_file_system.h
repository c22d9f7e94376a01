// The file system with every deletion and attribute change written to the
// journal.
#pragma once

#include "platform/file_system.h"
#include "platform/journal/journal.h"

namespace tw {

class JournalFileSystem : public FileSystem {
 public:
  JournalFileSystem(FileSystem& inner, Journal& journal) : inner_(inner), journal_(journal) {}

  FindHandle FindFirst(const char* pattern, FindData* data) override { return inner_.FindFirst(pattern, data); }
  bool FindNext(FindHandle search, FindData* data) override { return inner_.FindNext(search, data); }
  bool FindClose(FindHandle search) override { return inner_.FindClose(search); }
  std::uint32_t GetAttributes(const char* path) override { return inner_.GetAttributes(path); }
  bool SetAttributes(const char* path, std::uint32_t attributes) override;
  bool RemoveFile(const char* path) override;
  bool RemoveFolder(const char* path) override;
  bool MaySetAttributes(const char* path) override { return inner_.MaySetAttributes(path); }
  bool MayRemove(const char* path, bool folder) override { return inner_.MayRemove(path, folder); }
  bool IsPlainFile(const char* path) override { return inner_.IsPlainFile(path); }
  Status LastError() override { return inner_.LastError(); }

 private:
  // Writes the change or the failure of one call and returns its result.
  bool Record(bool succeeded, const std::string& change, const std::string& failure);

  FileSystem& inner_;
  Journal& journal_;
};

}  // namespace tw
