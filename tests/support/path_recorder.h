// Every path a run hands to the file calls, the user's folders and the shell
// links, in call order: what the Win32 layer would open. A path the run must
// never open (a pipe, another machine) can then be looked for among them.
#pragma once

#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/shell_links.h"
#include "platform/user_folders.h"

namespace tw::test {

class PathRecorder {
 public:
  PathRecorder(FileSystem& files, UserFolders& user, ShellLinks& links)
      : files_(*this, files), user_(*this, user), links_(*this, links) {}

  FileSystem& files() { return files_; }
  UserFolders& user() { return user_; }
  ShellLinks& links() { return links_; }
  // "<call> <path>", e.g. "GetAttributes C:\x" or "FinalFolderPath C:\x".
  const std::vector<std::string>& paths() const { return paths_; }

 private:
  class Files : public FileSystem {
   public:
    Files(PathRecorder& recorder, FileSystem& inner) : recorder_(recorder), inner_(inner) {}
    FindHandle FindFirst(const char* pattern, FindData* data) override;
    bool FindNext(FindHandle search, FindData* data) override { return inner_.FindNext(search, data); }
    bool FindClose(FindHandle search) override { return inner_.FindClose(search); }
    std::uint32_t GetAttributes(const char* path) override;
    bool SetAttributes(const char* path, std::uint32_t attributes) override;
    bool MaySetAttributes(const char* path) override;
    bool RemoveFile(const char* path) override;
    bool RemoveFolder(const char* path) override;
    bool MayRemove(const char* path, bool folder) override;
    bool IsPlainFile(const char* path) override;
    Status LastError() override { return inner_.LastError(); }

   private:
    PathRecorder& recorder_;
    FileSystem& inner_;
  };
  class User : public UserFolders {
   public:
    User(PathRecorder& recorder, UserFolders& inner) : recorder_(recorder), inner_(inner) {}
    std::optional<std::string> ProfileFolder() override { return inner_.ProfileFolder(); }
    std::optional<std::string> FinalFolderPath(const std::string& path) override;
    bool UserRightsHeld() override { return inner_.UserRightsHeld(); }
    std::string AccountSid() override { return inner_.AccountSid(); }
    std::vector<UserAccount> Accounts() override { return inner_.Accounts(); }
    void Enter(const UserAccount& account) override { inner_.Enter(account); }
    void Refused(const std::string& folder, const std::string& reason) override { inner_.Refused(folder, reason); }

   private:
    PathRecorder& recorder_;
    UserFolders& inner_;
  };
  class Links : public ShellLinks {
   public:
    Links(PathRecorder& recorder, ShellLinks& inner) : recorder_(recorder), inner_(inner) {}
    ComResult Update(const char* targetPath, const char* linkPath, const char* workingDirectory) override;
    ComResult Read(const char* linkPath, ShortcutTarget* target) override;
    ComResult MayUpdate(const char* linkPath) override;

   private:
    PathRecorder& recorder_;
    ShellLinks& inner_;
  };

  void Record(const char* call, const std::string& path) { paths_.push_back(std::string(call) + " " + path); }

  Files files_;
  User user_;
  Links links_;
  std::vector<std::string> paths_;
};

}  // namespace tw::test
