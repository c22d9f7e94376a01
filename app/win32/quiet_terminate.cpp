// GNU libstdc++ only. Its default terminate handler prints the name of an
// uncaught exception's type, and for that links in the whole C++ demangler
// and printf: a quarter of the executable, for a program that has no console
// to print on. Defining the handler here keeps the library's copy out; the
// process still ends as std::terminate requires.
#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx
