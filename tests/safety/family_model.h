// A test-side model of the family's setup programs: what installing a product
// for a language writes to the registry and the disk, and what the family
// then needs to keep for the installations that remain.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/support/test_platform.h"

namespace tw::test {

struct Installation {
  std::string product;   // "ProdTWD", "ProdTWDLite", "ProdTWC", "ProdRun"
  std::string variant;   // the variant letter on the command line
  std::string language;  // upper-case, five characters "AB_CD"
};

struct Shortcut {
  std::string name;
  const char* component;
};

class FamilyModel {
 public:
  static constexpr const char* kPrograms = "C:\\users\\Me\\Start Menu\\Programs";
  static constexpr const char* kHelp = "C:\\Program Files\\Talkwise\\Help";
  static constexpr const char* kBin = "C:\\Program Files\\Talkwise\\Bin";

  // The system's own entries that every test installation starts with.
  static void PrepareSystem(TestPlatform& platform);
  // What the product's setup writes, on top of what is there.
  void Install(TestPlatform& platform, const Installation& installation);
  void Remove(const Installation& installation);

  static std::vector<std::string> Components(const std::string& product);
  // With double-byte names (code page 936), the folders and shortcuts of
  // ZH_CN and JA_JP are named with characters whose trail byte is 0x5C or
  // 0x7C, last or at every second byte.
  explicit FamilyModel(bool doubleByteNames = false) : doubleByte_(doubleByteNames) {}

  std::vector<Shortcut> Shortcuts(const Installation& installation) const;
  // The name a shortcut of the table above has in the language.
  std::string ShortcutName(const std::string& language, const std::string& name) const;
  static std::vector<std::string> DataSets(const std::string& variant);
  static std::string FolderValueName(const Installation& installation);
  std::string Folder(const std::string& language) const;
  static std::string Suffix(const std::string& language) { return language.substr(language.size() - 2); }
  // Help files of the product in its help subdirectory, and that subdirectory.
  static std::vector<std::string> HelpFiles(const Installation& installation);
  static std::string HelpSubdirectory(const std::string& product);
  static bool IsDictationProduct(const std::string& product) {
    return product == "ProdTWD" || product == "ProdTWDLite";
  }

  const std::vector<Installation>& Installed() const { return installed_; }
  std::vector<Installation> InLanguage(const std::string& language) const;
  const Installation* Find(const std::string& product, const std::string& language) const;

  // Where each help registration of the family points, by file name.
  std::map<std::string, std::string> helpRegistrations;
  // Languages whose sound events are registered.
  std::set<std::string> soundEvents;
  std::set<std::string> languagesEverInstalled;

 private:
  bool UsesDoubleByteNames(const std::string& language) const {
    return doubleByte_ && (language == "ZH_CN" || language == "JA_JP");
  }

  bool doubleByte_;
  std::vector<Installation> installed_;
};

}  // namespace tw::test
