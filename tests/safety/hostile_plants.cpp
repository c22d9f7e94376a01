#include "tests/safety/hostile_plants.h"

#include <fstream>
#include <vector>

namespace tw::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kPrecious = "C:\\Precious";
constexpr const char* kMarker = "planted";

// The programs directory and every real folder below it, links left out.
std::vector<fs::path> FoldersBelow(const fs::path& top) {
  std::vector<fs::path> folders{top};
  std::error_code error;
  for (fs::recursive_directory_iterator entry(top, error), end; !error && entry != end; entry.increment(error)) {
    if (entry->is_directory(error) && !entry->is_symlink(error)) folders.push_back(entry->path());
  }
  return folders;
}

}  // namespace

bool IsPlantedName(const std::string& name) {
  // The odd names climb with "..\\"; a lone 0x5C may be a trail byte.
  return name.find(kMarker) != std::string::npos || name.find("..\\") != std::string::npos;
}

void PlantHostileEntries(TestPlatform& platform, const std::string& programsDirectory, std::mt19937_64& random) {
  const fs::path precious = platform.Host(kPrecious);
  if (!fs::exists(precious)) {
    platform.WriteFile(std::string(kPrecious) + "\\Deep\\precious.txt", "precious");
    platform.WriteFile(std::string(kPrecious) + "\\Begin Here.lnk", "precious");
    platform.WriteFile(std::string(kPrecious) + "\\Locked.txt", "precious");
    fs::permissions(precious / "Locked.txt", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
  }
  const fs::path programs = platform.Host(programsDirectory);
  const int plants = 1 + static_cast<int>(random() % 3);
  for (int plant = 0; plant < plants; ++plant) {
    const std::vector<fs::path> folders = FoldersBelow(programs);
    fs::path where = folders[random() % folders.size()];
    std::error_code error;
    if (random() % 2) {  // one level deeper, inside a plain planted folder
      where /= std::string(kMarker) + " deeper";
      fs::create_directories(where, error);
    }
    const std::string tag = std::to_string(random() % 1000);
    switch (random() % 4) {
      case 0:
        fs::create_directory_symlink(precious, where / (std::string(kMarker) + " folder link " + tag), error);
        break;
      case 1:
        fs::create_symlink(precious / "Begin Here.lnk", where / (std::string(kMarker) + " file link " + tag + ".lnk"),
                           error);
        break;
      case 2:
        // A second name of a file outside, read-only or not: its attributes
        // are the outside file's too.
        fs::create_hard_link(precious / (random() % 2 ? "Locked.txt" : "Begin Here.lnk"),
                             where / (std::string(kMarker) + " hard link " + tag + ".lnk"), error);
        break;
      default: {
        // As deep as the drive's root from here, then down to the precious folder.
        std::string name;
        for (fs::path up = where; up != platform.drives.Path() && up.has_parent_path(); up = up.parent_path()) {
          name += "..\\";
        }
        const fs::path odd = where / (name + "Precious");
        fs::create_directories(odd / "Deep", error);
        std::ofstream(odd / "Deep" / "precious.txt") << "planted";
        break;
      }
    }
  }
}

}  // namespace tw::test
