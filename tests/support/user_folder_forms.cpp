#include "tests/support/user_folder_forms.h"

#include <iterator>
#include <vector>

namespace tw::test {

UserFolderForms DrawUserFolderForms(const std::string& programsDirectory, std::mt19937_64& random) {
  const std::string belowDrive = programsDirectory.substr(2);  // "\users\...\Programs"
  const std::size_t last = programsDirectory.rfind('\\');
  const std::vector<std::string> refusedPrograms = {
      "\\\\.\\pipe\\twprograms",
      "\\\\?\\" + programsDirectory,
      "\\\\.\\" + programsDirectory,
      "\\\\localhost\\C$" + belowDrive,
      "\\\\?\\UNC\\localhost\\C$" + belowDrive,
      programsDirectory + "\\NUL\\..",
      programsDirectory.substr(0, last) + "\\COM1\\.." + programsDirectory.substr(last),
  };
  static constexpr const char* kUnexpandedProfiles[] = {"%TWPROFILES%\\Me", "%USERPROFILE%", "C:\\users\\%USERNAME%"};
  UserFolderForms forms;
  forms.programs = programsDirectory;
  const std::uint64_t draw = random() % 8;
  if (draw == 0) {
    forms.programs = refusedPrograms[random() % refusedPrograms.size()];
    forms.refused = true;
  } else if (draw == 1) {
    forms.profile = kUnexpandedProfiles[random() % std::size(kUnexpandedProfiles)];
    forms.refused = true;
  }
  return forms;
}

}  // namespace tw::test
