# GoogleTest for the MinGW builds, compiled from Debian's sources (package
# googletest) with the tests, without pthreads in the win32 thread model. Its
# project defines the same GTest:: names that find_package gives natively.
set(TW_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
add_compile_definitions(GTEST_HAS_PTHREAD=0)
# Replaces GoogleTest's Notification, the one piece that needs std::mutex.
include_directories(BEFORE ${CMAKE_CURRENT_LIST_DIR}/mingw-gtest)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${TW_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# Test programs run under Wine from a folder with nothing beside them.
add_link_options(-static)
