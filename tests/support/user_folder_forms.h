// The programs directory and profile path a run meets: mostly the real ones,
// else a spelling of the same folder that must be refused before anything
// below it is opened (a pipe, another machine's or a device's path, a device
// name in it), or a profile path holding a variable that no machine value
// expands (the user's own environment must not lend it one).
#pragma once

#include <random>
#include <string>

namespace tw::test {

struct UserFolderForms {
  std::string programs;
  std::string profile = "C:\\";
  bool refused = false;
};

// One in four draws is refused; programsDirectory is the real one
// ("C:\...\Programs"), whose other spellings are drawn.
UserFolderForms DrawUserFolderForms(const std::string& programsDirectory, std::mt19937_64& random);

}  // namespace tw::test
