// Creates start-menu shortcuts the way a setup program does, through the
// shell's link objects. The only argument names a text file with one shortcut
// per line:  <link path>|<target>|<working directory>|<icon file>,<icon index>
// (the icon part may be empty). Exits 1 at the first shortcut it cannot save.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> SplitFields(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream stream(line);
  std::string field;
  while (std::getline(stream, field, '|')) fields.push_back(field);
  return fields;
}

HRESULT SaveShortcut(const std::vector<std::string>& fields) {
  IShellLinkA* link = nullptr;
  HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                    reinterpret_cast<void**>(&link));
  if (FAILED(result)) return result;
  link->SetPath(fields[1].c_str());
  link->SetWorkingDirectory(fields[2].c_str());
  if (fields.size() > 3 && !fields[3].empty()) {
    const std::size_t comma = fields[3].rfind(',');
    const std::string iconFile = fields[3].substr(0, comma);
    const int iconIndex = comma == std::string::npos ? 0 : std::atoi(fields[3].c_str() + comma + 1);
    link->SetIconLocation(iconFile.c_str(), iconIndex);
  }
  IPersistFile* file = nullptr;
  result = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
  if (SUCCEEDED(result)) {
    wchar_t widePath[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, fields[0].c_str(), -1, widePath, MAX_PATH);
    result = file->Save(widePath, TRUE);
    file->Release();
  }
  link->Release();
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: make_shortcuts LIST\n", stderr);
    return 2;
  }
  std::ifstream list(argv[1]);
  if (!list) return 1;
  CoInitialize(nullptr);
  int status = 0;
  std::string line;
  while (status == 0 && std::getline(list, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    const std::vector<std::string> fields = SplitFields(line);
    if (fields.size() < 3 || FAILED(SaveShortcut(fields))) {
      std::fprintf(stderr, "cannot save shortcut: %s\n", line.c_str());
      status = 1;
    }
  }
  CoUninitialize();
  return status;
}
