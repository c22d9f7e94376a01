#include "tools/bench/large_installation.h"

#include <cstdio>

#include "tests/support/portable/reg_file.h"

namespace tw::bench {
namespace {

constexpr const char* kHelp = "C:\\\\Talkwise\\\\Help";

void AddDword(std::string* text, const std::string& name, std::uint32_t value) {
  char line[300];
  std::snprintf(line, sizeof line, "\"%s\"=dword:%08x\n", name.c_str(), value);
  *text += line;
}

void AddText(std::string* text, const std::string& name, const std::string& value) {
  *text += "\"" + name + "\"=\"" + value + "\"\n";
}

}  // namespace

InstallationSize InstallationSize::Doubled(int times) const {
  InstallationSize size = *this;
  for (int i = 0; i < times; ++i) {
    size.languages *= 2;
    size.foreignHelpFiles *= 2;
  }
  return size;
}

std::string LanguageCode(std::uint32_t index) {
  char code[16];
  std::snprintf(code, sizeof code, "L%u_%02u", index / 100, index % 100);
  return code;
}

void BuildInstallation(test::TestPlatform& platform, const InstallationSize& size, std::uint32_t productCtr) {
  const std::string family = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\\Talkwise\\";
  std::string text = "REGEDIT4\n\n" + family + "Install\\Counters]\n";
  AddDword(&text, "ProductCtr", productCtr);
  text += "\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders]\n";
  AddText(&text, "Programs", "C:\\\\Programs");
  for (const char* component : {"Control", "Dictation"}) {
    text += family + component + "\\Directories]\n";
    AddText(&text, "Help", kHelp);
  }
  text += family + "Engine\\Version]\n";
  AddText(&text, "Release", "4.0.2");
  text += family + "Engine\\Directories]\n";
  AddText(&text, "Bin", "C:\\\\Talkwise\\\\Bin");
  std::string help = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\Help]\n";
  for (std::uint32_t i = 0; i < size.foreignHelpFiles; ++i) {
    AddText(&help, "vendor" + std::to_string(i) + ".hlp", "C:\\\\Vendor\\\\Help" + std::to_string(i % 50));
  }
  for (std::uint32_t index = 0; index < size.languages; ++index) {
    const std::string language = LanguageCode(index);
    const std::string folder = "Talkwise " + language;
    const std::string key = family + "Install\\Languages\\" + language;
    text += key + "]\n";
    AddDword(&text, "UsageCtr", 2);
    AddText(&text, "FolderName", folder);
    for (const char* product : {"ProdTWDLite", "ProdTWC"}) {
      AddText(&text, product, "1");
      // The last product's install (ProductCtr 1) is the only one registered.
      if (productCtr > 1 || (index == 0 && std::string(product) == "ProdTWC")) {
        AddDword(&text, std::string(product) + "Ctr", 1);
      }
      AddText(&text, std::string(product) + "Folder", folder);
    }
    AddText(&text, "SwapBeginHere", "Shortcut 0");
    AddText(&text, "SwapGenRef", "Shortcut 1");
    std::string lite = key + "\\ProdTWDLiteObjs]\n";
    std::string control = key + "\\ProdTWCObjs]\n";
    std::string counters = key + "\\Folders\\" + folder + "]\n";
    for (std::uint32_t s = 0; s < size.shortcutsPerFolder; ++s) {
      const std::string name = "Shortcut " + std::to_string(s);
      const bool shared = s < size.sharedShortcutsPerFolder;
      if (shared || s % 2 == 0) AddText(&lite, name, "Help");
      if (shared || s % 2 == 1) AddText(&control, name, "Control");
      AddDword(&counters, name, shared ? 2 : 1);
      platform.WriteFile("C:\\Programs\\" + folder + "\\" + name + ".lnk", name);
    }
    text += lite + control + counters;
    for (const char* component : {"Control", "Dictation", "Enroll", "Help", "Engine"}) {
      text += family + component + "\\Languages\\" + language + "]\n";
      AddDword(&text, "UsageCtr", 2);
    }
    text += family + "Engine\\Languages\\" + language + "]\n\"NavData\"=hex:01\n\"DictData\"=hex:01\n";
    AddDword(&text, "NavDataCtr", 2);
    AddDword(&text, "DictDataCtr", 1);
    for (std::uint32_t h = 0; h < size.familyHelpFilesPerLanguage; ++h) {
      AddText(&help, "tw" + language + "_" + std::to_string(h) + ".hlp", std::string(kHelp) + (h % 2 ? "\\\\twc" : "\\\\twlite"));
    }
  }
  for (const char* component : {"Control", "Dictation", "Enroll", "Help", "Engine"}) {
    text += family + component + "]\n";
    AddDword(&text, "UsageCtr", 2 * size.languages);
  }
  platform.LoadRegText(text + help);
}

}  // namespace tw::bench
