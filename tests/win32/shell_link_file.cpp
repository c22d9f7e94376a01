#include "tests/win32/shell_link_file.h"

#include <windows.h>
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

namespace tw::win32test {
namespace {

// One link object with its file interface, the library initialised around it.
class LinkObject {
 public:
  LinkObject() {
    CoInitialize(nullptr);
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link_)))) {
      link_->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file_));
    }
  }
  ~LinkObject() {
    if (file_) file_->Release();
    if (link_) link_->Release();
    CoUninitialize();
  }
  LinkObject(const LinkObject&) = delete;
  LinkObject& operator=(const LinkObject&) = delete;

  IShellLinkA* Link() const { return link_; }
  IPersistFile* File() const { return file_; }

 private:
  IShellLinkA* link_ = nullptr;
  IPersistFile* file_ = nullptr;
};

std::wstring Widen(const std::string& text) {
  wchar_t wide[1024];
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide, 1024);
  return wide;
}

}  // namespace

bool WriteShellLink(const std::string& linkPath, const ShellLinkFields& fields) {
  LinkObject object;
  if (object.File() == nullptr) return false;
  IShellLinkA* link = object.Link();
  link->SetPath(fields.target.c_str());
  link->SetWorkingDirectory(fields.workingDirectory.c_str());
  link->SetIconLocation(fields.iconPath.c_str(), fields.iconIndex);
  link->SetArguments(fields.arguments.c_str());
  link->SetDescription(fields.description.c_str());
  link->SetHotkey(fields.hotKey);
  link->SetShowCmd(fields.showCommand);
  return SUCCEEDED(object.File()->Save(Widen(linkPath).c_str(), TRUE));
}

bool ReadShellLink(const std::string& linkPath, ShellLinkFields* fields) {
  LinkObject object;
  if (object.File() == nullptr || FAILED(object.File()->Load(Widen(linkPath).c_str(), STGM_READ))) return false;
  IShellLinkA* link = object.Link();
  char text[INFOTIPSIZE];
  link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
  fields->target = text;
  link->GetWorkingDirectory(text, MAX_PATH);
  fields->workingDirectory = text;
  link->GetIconLocation(text, MAX_PATH, &fields->iconIndex);
  fields->iconPath = text;
  link->GetArguments(text, INFOTIPSIZE);
  fields->arguments = text;
  link->GetDescription(text, INFOTIPSIZE);
  fields->description = text;
  WORD hotKey = 0;
  link->GetHotkey(&hotKey);
  fields->hotKey = hotKey;
  link->GetShowCmd(&fields->showCommand);
  return true;
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace tw::win32test
