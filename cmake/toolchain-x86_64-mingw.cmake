# Cross build for 64-bit Windows with MinGW-w64 (the win32 thread model). The
# program ships 32-bit; this build runs the Win32 test tier on machines whose
# Wine can only start 64-bit programs.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TW_MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)
