# Cross build for 64-bit Windows with MinGW-w64 (the win32 thread model). The
# program ships 32-bit; this build runs the Win32 test tier on machines whose
# Wine can only start 64-bit programs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TW_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TW_MINGW_PREFIX}-gcc)
set(CMAKE_CXX_COMPILER ${TW_MINGW_PREFIX}-g++)
set(CMAKE_RC_COMPILER ${TW_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TW_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
