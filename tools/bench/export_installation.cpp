// Writes the large generated installation for a run under Wine: its registry
// (the family's tree, the help registrations and the start menu's place) as
// .reg text, and its start-menu files below a host folder that stands for
// drive C:. ProductCtr is 1, so the next uninstall is the full removal.
//
//   tw_bench_export DOUBLINGS OUT.reg DRIVE_C_FOLDER
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/portable/reg_file.h"
#include "registry/key_path.h"
#include "tools/bench/large_installation.h"

namespace {

// Where the generated installation puts its start menu.
constexpr const char* kProgramsFolder = "C:\\Programs";

std::string MachinePath(const std::string& path) { return "HKEY_LOCAL_MACHINE\\" + path; }

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s DOUBLINGS OUT.reg DRIVE_C_FOLDER\n", argv[0]);
    return 2;
  }
  using namespace tw;
  const bench::InstallationSize size = bench::InstallationSize{}.Doubled(std::atoi(argv[1]));
  test::TestPlatform platform;
  bench::BuildInstallation(platform, size, 1);

  const std::string text =
      ExportRegText(platform.registry, {MachinePath(*FamilyPath({})), MachinePath(layout::kHelpRegistrations),
                                        "HKEY_CURRENT_USER\\" + std::string(layout::kShellFolders)});
  std::ofstream(argv[2], std::ios::binary) << text;

  const std::filesystem::path target = std::filesystem::path(argv[3]) / "Programs";
  std::filesystem::create_directories(target);
  std::filesystem::copy(platform.Host(kProgramsFolder), target, std::filesystem::copy_options::recursive);
  std::printf("%u languages, %zu bytes of .reg text\n", size.languages, text.size());
  return 0;
}
