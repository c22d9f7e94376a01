#include "tests/safety/family_model.h"

#include <algorithm>
#include <map>

#include "tests/support/registry_probe.h"

namespace tw::test {
namespace {

void Increment(TestPlatform& platform, const std::string& path, const std::string& name) {
  const auto current = DwordValue(platform.registry, kHkeyLocalMachine, path, name);
  WriteDword(platform.registry, kHkeyLocalMachine, path, name, current.value_or(0) + 1);
}

}  // namespace

void FamilyModel::PrepareSystem(TestPlatform& platform) {
  WriteText(platform.registry, kHkeyCurrentUser,
            "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Programs", kPrograms);
  WriteText(platform.registry, kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Windows\\Help", "notepad.hlp",
            "C:\\Windows\\Help");
  WriteText(platform.registry, kHkeyLocalMachine,
            "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\wordpad.exe", "Path", kBin);
  WriteText(platform.registry, kHkeyCurrentUser, "AppEvents\\EventLabels\\Close", "", "Close program");
  WriteText(platform.registry, kHkeyLocalMachine, "SOFTWARE\\Corvane\\TalkwiseExtra", "Keep", "yes");
  platform.WriteFile(std::string(kPrograms) + "\\Accessories\\Notepad.lnk", "notepad");
  platform.WriteFile("C:\\users\\Me\\Documents\\letter.txt", "letter");
}

std::vector<std::string> FamilyModel::Components(const std::string& product) {
  if (product == "ProdTWD") return {"Install", "Control", "Dictation", "Enroll", "Help", "Engine", "Audio"};
  if (product == "ProdTWC") return {"Install", "Control", "Enroll", "Help", "Engine"};
  return {"Install", "Control", "Dictation", "Enroll", "Help", "Engine"};
}

std::vector<Shortcut> FamilyModel::Shortcuts(const Installation& installation) const {
  const std::string& product = installation.product;
  std::vector<Shortcut> shortcuts;
  if (product == "ProdTWDLite") {
    shortcuts = {{"Begin Here", "Help"}, {"General Reference", "Help"}, {"Dictation", "Dictation"},
                 {"Voice Training", "Enroll"}};
  } else if (product == "ProdTWC") {
    shortcuts = {{"Begin Here", "Help"}, {"General Reference", "Help"}, {"Commands", "Control"},
                 {"Voice Training", "Enroll"}};
  } else if (product == "ProdTWD") {
    shortcuts = {{"Dictation Pro", "Dictation"}, {"Microphone Setup", "Audio"}, {"Pro Help", "Help"}};
  } else {
    shortcuts = {{installation.variant == "C" ? "Run Control" : "Run Dictation", "Control"}};
  }
  for (Shortcut& shortcut : shortcuts) shortcut.name = ShortcutName(installation.language, shortcut.name);
  return shortcuts;
}

std::string FamilyModel::ShortcutName(const std::string& language, const std::string& name) const {
  if (!UsesDoubleByteNames(language)) return name;
  // In code page 936: 快捷乗, 说明Ａ, 乗, 乗亅俓倈, 快捷亅, ＴＷ丄乗 (乗 is 81 5C, 亅 81 7C).
  static const std::map<std::string, std::string> kNames = {
      {"Begin Here", "\xBF\xEC\xBD\xDD\x81\x5C"},
      {"General Reference", "\xCB\xB5\xC3\xF7\xA3\xC1"},
      {"Voice Training", "\x81\x5C"},
      {"Commands", "\x81\x5C\x81\x7C\x82\x5C\x82\x7C"},
      {"Dictation", "\xBF\xEC\xBD\xDD\x81\x7C"},
      {"Dictation Pro", "\xA3\xD4\xA3\xD7\x81\x41\x81\x5C"}};
  const auto found = kNames.find(name);
  return found != kNames.end() ? found->second : name;
}

std::string FamilyModel::Folder(const std::string& language) const {
  // 工具乗 and 乗亅俓倈 in code page 936.
  if (UsesDoubleByteNames(language)) return language == "ZH_CN" ? "\xB9\xA4\xBE\xDF\x81\x5C" : "\x81\x5C\x81\x7C\x82\x5C\x82\x7C\x83\x7C";
  return "Talkwise " + language;
}

std::vector<std::string> FamilyModel::DataSets(const std::string& variant) {
  if (variant == "N") return {};
  if (variant == "C") return {"NavData"};
  if (variant == "D") return {"DictData"};
  return {"NavData", "DictData"};
}

std::string FamilyModel::FolderValueName(const Installation& installation) {
  if (installation.product == "ProdRun") {
    return installation.variant == "C" ? "ProdRunControlFolder" : "ProdRunDictateFolder";
  }
  return installation.product + "Folder";
}

std::string FamilyModel::HelpSubdirectory(const std::string& product) {
  if (product == "ProdTWC") return "twc";
  if (product == "ProdTWDLite") return "twlite";
  return "combined";
}

std::vector<std::string> FamilyModel::HelpFiles(const Installation& installation) {
  const std::string suffix = Suffix(installation.language);
  std::string lower = suffix;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) { return static_cast<char>(c | 0x20); });
  if (installation.product == "ProdTWC") return {"twc" + lower + ".hlp", "refbook" + lower + ".hlp", "twc" + lower + ".cnt"};
  if (installation.product == "ProdTWDLite") {
    return {"twlite" + lower + ".hlp", "refbook" + lower + ".hlp", "twlite" + lower + ".cnt"};
  }
  return {installation.product == "ProdTWD" ? "twd" + lower + ".hlp" : "run" + lower + ".hlp"};
}

void FamilyModel::Install(TestPlatform& platform, const Installation& installation) {
  const std::string& product = installation.product;
  const std::string& language = installation.language;
  const std::string languageKey = Family("Install\\Languages\\" + language);
  Increment(platform, Family("Install\\Counters"), "ProductCtr");
  for (const std::string& component : Components(product)) {
    Increment(platform, Family(component), "UsageCtr");
    Increment(platform, Family(component + "\\Languages\\" + language), "UsageCtr");
  }
  Registry& registry = platform.registry;
  WriteText(registry, kHkeyLocalMachine, languageKey, product, "1");
  Increment(platform, languageKey, product + "Ctr");
  WriteText(registry, kHkeyLocalMachine, languageKey, FolderValueName(installation), Folder(language));
  WriteText(registry, kHkeyLocalMachine, languageKey, "FolderName", Folder(language));
  if (product == "ProdTWD") {
    WriteText(registry, kHkeyLocalMachine, languageKey, "ProdTWDList", "Install Control Dictation Enroll Help Engine Audio");
  }
  if (product == "ProdTWC" || product == "ProdTWDLite") {
    WriteText(registry, kHkeyLocalMachine, languageKey, "SwapBeginHere", ShortcutName(language, "Begin Here"));
    WriteText(registry, kHkeyLocalMachine, languageKey, "SwapGenRef", ShortcutName(language, "General Reference"));
  }
  for (const Shortcut& shortcut : Shortcuts(installation)) {
    WriteText(registry, kHkeyLocalMachine, languageKey + "\\" + product + "Objs", shortcut.name, shortcut.component);
    Increment(platform, languageKey + "\\Folders\\" + Folder(language), shortcut.name);
    platform.WriteFile(std::string(kPrograms) + "\\" + Folder(language) + "\\" + shortcut.name + ".lnk", product);
  }
  const std::string engineLanguage = Family("Engine\\Languages\\" + language);
  for (const std::string& dataSet : DataSets(installation.variant)) {
    Increment(platform, engineLanguage, dataSet + "Ctr");
    WriteValue(registry, kHkeyLocalMachine, engineLanguage, dataSet, kRegBinary, {1});
  }
  WriteText(registry, kHkeyLocalMachine, Family("Engine\\Version"), "Release", "4.0.2");
  WriteText(registry, kHkeyLocalMachine, Family("Engine\\Directories"), "Bin", kBin);
  WriteText(registry, kHkeyLocalMachine, Family("Control\\Version"), "Release", "3.1.0.0");
  WriteText(registry, kHkeyLocalMachine, Family("Control\\Directories"), "Help", kHelp);
  const auto components = Components(product);
  if (std::find(components.begin(), components.end(), "Dictation") != components.end()) {
    WriteText(registry, kHkeyLocalMachine, Family("Dictation\\Directories"), "Help", kHelp);
  }
  const std::string helpDirectory = std::string(kHelp) + "\\" + HelpSubdirectory(product);
  for (const std::string& file : HelpFiles(installation)) {
    platform.WriteFile(helpDirectory + "\\" + file, file);
    WriteText(registry, kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Windows\\Help", file, helpDirectory);
    helpRegistrations[file] = helpDirectory;
  }
  for (const char* executable : {"speakfit.exe", "recogsrv.exe", "notepane.exe", "quickcmd.exe", "twvocab.exe"}) {
    WriteText(registry, kHkeyLocalMachine,
              std::string("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\") + executable, "Path", kBin);
  }
  if (IsDictationProduct(product)) {
    const std::string suffix = language.substr(3, 2);
    for (const char* event : {"Start Dictation ", "Stop Dictation "}) {
      WriteText(registry, kHkeyCurrentUser, "AppEvents\\EventLabels\\" + std::string(event) + suffix, "", event);
      WriteText(registry, kHkeyCurrentUser, "AppEvents\\Schemes\\Apps\\Talkwise\\" + std::string(event) + suffix + "\\.Current",
                "", "C:\\Program Files\\Talkwise\\Sounds\\event.wav");
    }
    soundEvents.insert(language);
  }
  installed_.push_back(installation);
  languagesEverInstalled.insert(language);
}

void FamilyModel::Remove(const Installation& installation) {
  installed_.erase(std::find_if(installed_.begin(), installed_.end(), [&](const Installation& other) {
    return other.product == installation.product && other.language == installation.language;
  }));
}

std::vector<Installation> FamilyModel::InLanguage(const std::string& language) const {
  std::vector<Installation> result;
  std::copy_if(installed_.begin(), installed_.end(), std::back_inserter(result),
               [&](const Installation& installation) { return installation.language == language; });
  return result;
}

const Installation* FamilyModel::Find(const std::string& product, const std::string& language) const {
  for (const Installation& installation : installed_) {
    if (installation.product == product && installation.language == language) return &installation;
  }
  return nullptr;
}

}  // namespace tw::test
