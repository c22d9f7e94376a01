# Cross build of the 32-bit Windows program with MinGW-w64 (the win32 thread
# model, so that nothing needs winpthread).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TW_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)
