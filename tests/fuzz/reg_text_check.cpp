#include "tests/support/portable/reg_file.h"
#include "registry/enumeration.h"
#include "tests/fuzz/checks.h"
#include "tests/support/portable/portable_registry.h"

namespace tw::fuzz {
namespace {

// Every tree below both roots, in enumeration order.
std::string ExportAll(Registry& registry) {
  std::vector<std::string> trees;
  for (const auto& [root, name] : {std::pair{kHkeyLocalMachine, "HKEY_LOCAL_MACHINE"},
                                   std::pair{kHkeyCurrentUser, "HKEY_CURRENT_USER"}}) {
    for (const std::string& child : CollectSubkeyNames(registry, root, 256)) {
      trees.push_back(std::string(name) + "\\" + child);
    }
  }
  return ExportRegText(registry, trees);
}

}  // namespace

Problems CheckRegText(const std::uint8_t* data, std::size_t size) {
  Problems problems;
  test::PortableRegistry imported;
  ImportRegText(imported, std::string(reinterpret_cast<const char*>(data), size));
  if (imported.OpenHandleCount() != 0) problems.push_back("the import left handles open");

  const std::string exported = ExportAll(imported);
  test::PortableRegistry again;
  if (auto error = ImportRegText(again, exported)) {
    problems.push_back("exported text does not import: " + *error + "\n" + exported);
  } else if (ExportAll(again) != exported) {
    problems.push_back("exported text imports to a different registry:\n" + exported + "\n---\n" + ExportAll(again));
  }
  return problems;
}

}  // namespace tw::fuzz
