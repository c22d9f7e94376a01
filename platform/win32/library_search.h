// Where the process looks for the libraries that the shell, COM and the system
// load into it. Setups start the program from folders that users can write,
// so a library planted beside it must never be taken.
#pragma once

namespace tw {

// SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32), looked up at run
// time so that a system without it still starts (it then keeps its own
// order). Called first, before anything else is loaded.
void SearchLibrariesInSystemFolderOnly();

}  // namespace tw
