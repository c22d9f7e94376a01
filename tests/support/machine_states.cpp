#include "tests/support/machine_states.h"

#include "tests/support/registry_probe.h"

namespace tw::test {

PlantedState PlantMachineState(TestPlatform& platform, const StateSites& sites, std::mt19937_64& random) {
  PlantedState state;
  const std::string folder = sites.programFolder + "\\";
  switch (random() % 7) {
    case 0:
      state.name = "a file held open without delete sharing";
      platform.WriteFile(folder + kHeldOpenName);
      state.held.push_back(std::make_unique<HeldOpen>(platform.Host(folder + kHeldOpenName)));
      break;
    case 1:
      state.name = "read-only shortcuts";
      for (const char* shortcut : {"Begin Here.lnk", "General Reference.lnk"}) platform.links.readOnly.insert(folder + shortcut);
      break;
    case 2:
      // A letter outside A-Z: O with tilde after a pound sign in code page
      // 1252, a full-width U in 936 (the same bytes), so that either reads it.
      state.name = "a shortcut listed with a capital outside A-Z, its file in small letters";
      platform.LoadRegText("REGEDIT4\n[HKEY_LOCAL_MACHINE\\" + sites.objectsKey + "]\n\"\xA3\xD5" "bersicht\"=\"Help\"\n" +
                           "[HKEY_LOCAL_MACHINE\\" + sites.countersKey + "]\n\"\xA3\xD5" "bersicht\"=dword:00000001\n");
      platform.WriteFile(folder + "\xA3\xF5" "bersicht.lnk");
      break;
    case 3: {
      if (!KeyExists(platform.registry, kHkeyCurrentUser, sites.labelKey)) break;  // nor made by the planting
      state.name = "a label key with a chain of 70 subkeys";
      std::string key = "HKEY_CURRENT_USER\\" + sites.labelKey;
      for (int level = 0; level < 70; ++level) key += "\\k";
      platform.LoadRegText("REGEDIT4\n[" + key + "]\n\"deepest\"=\"70\"\n");
      break;
    }
    case 4:
      state.name = "an uninstaller that cannot start";
      state.startFails = true;
      platform.processes.result = 2;  // ERROR_FILE_NOT_FOUND
      break;
    default:
      break;
  }
  return state;
}

}  // namespace tw::test
