# The Windows program: the Win32 platform layer and twuninst.exe.
enable_language(RC)

# Vista is the oldest system the manifest names.
set(TW_WINDOWS_VERSION 0x0600)

file(GLOB TW_WIN32_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/platform/win32/*.cpp)
add_library(tw_win32 STATIC ${TW_WIN32_SOURCES})
target_include_directories(tw_win32 PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_definitions(tw_win32 PUBLIC _WIN32_WINNT=${TW_WINDOWS_VERSION} WINVER=${TW_WINDOWS_VERSION}
                                           NOMINMAX)
target_link_libraries(tw_win32 PUBLIC advapi32 user32 ole32 uuid comctl32 ntdll)
tw_set_warnings(tw_win32)

add_executable(twuninst WIN32
  ${CMAKE_CURRENT_SOURCE_DIR}/app/win32/win_main.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/app/win32/twuninst.rc)
target_link_libraries(twuninst PRIVATE tw_core tw_win32)
set_target_properties(twuninst PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
# The resource script includes the message headers from the source root and
# its icon and manifest from its own folder.
target_include_directories(twuninst PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
tw_set_warnings(twuninst)

if(MINGW)
  # One self-contained executable: no libstdc++, libgcc or winpthread DLL
  # beside it, symbols stripped, unused sections dropped.
  target_compile_options(tw_core PRIVATE -ffunction-sections -fdata-sections)
  target_compile_options(tw_win32 PRIVATE -ffunction-sections -fdata-sections)
  target_link_options(twuninst PRIVATE -static -s -Wl,--gc-sections)
  # Two builds of one commit give the same bytes wherever they were made: no
  # link time in the PE header, no source or build folder in any text.
  target_link_options(twuninst PRIVATE -Wl,--no-insert-timestamp)
  foreach(target tw_core tw_win32 twuninst)
    target_compile_options(${target} PRIVATE
      $<$<COMPILE_LANGUAGE:CXX>:-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=;-ffile-prefix-map=${CMAKE_BINARY_DIR}/=>)
  endforeach()
  # Across the program's own files the optimiser drops what no call reaches;
  # only the shipped build, where size counts more than link time.
  if(CMAKE_BUILD_TYPE STREQUAL "MinSizeRel")
    set_target_properties(tw_core tw_win32 twuninst PROPERTIES INTERPROCEDURAL_OPTIMIZATION ON)
    # In one piece: split into partitions, MinGW's GCC 12 stops with an
    # internal error (binds_to_current_def_p) on the in-memory registry.
    target_link_options(twuninst PRIVATE -flto-partition=one)
    # The program catches no exception: one ends it either way, so its own
    # code carries no unwinding tables (on 32-bit Windows; 64-bit Windows
    # walks the stack by them).
    set(TW_NO_UNWIND -fno-exceptions -fno-threadsafe-statics)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      list(APPEND TW_NO_UNWIND -fno-asynchronous-unwind-tables)
    endif()
    target_compile_options(tw_core PRIVATE ${TW_NO_UNWIND})
    target_compile_options(tw_win32 PRIVATE ${TW_NO_UNWIND})
    target_compile_options(twuninst PRIVATE ${TW_NO_UNWIND})
    target_link_options(twuninst PRIVATE ${TW_NO_UNWIND})
  endif()
  target_sources(twuninst PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/app/win32/quiet_terminate.cpp)
elseif(MSVC)
  # The same stand-alone executable; the manifest comes from the resource
  # script, not from the linker.
  set_target_properties(twuninst PROPERTIES MSVC_RUNTIME_LIBRARY MultiThreaded)
  set_target_properties(tw_core tw_win32 PROPERTIES MSVC_RUNTIME_LIBRARY MultiThreaded)
  target_link_options(twuninst PRIVATE /MANIFEST:NO)
endif()
