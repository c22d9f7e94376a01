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
    case 2: {
      // A letter outside A-Z in the family's code page: U with diaeresis in
      // 1252, full-width U in 936 (lead byte 0xA3).
      const bool doubleByte = platform.codePage.IsLeadByte(0xA3);
      const std::string listed = doubleByte ? "\xA3\xD5" "bersicht" : "\xDC" "bersicht";
      const std::string file = doubleByte ? "\xA3\xF5" "bersicht.lnk" : "\xFC" "bersicht.lnk";
      state.name = "a shortcut listed as " + listed + ", its file in small letters";
      platform.LoadRegText("REGEDIT4\n[HKEY_LOCAL_MACHINE\\" + sites.objectsKey + "]\n\"" + listed + "\"=\"Help\"\n" +
                           "[HKEY_LOCAL_MACHINE\\" + sites.countersKey + "]\n\"" + listed + "\"=dword:00000001\n");
      platform.WriteFile(folder + file);
      break;
    }
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
