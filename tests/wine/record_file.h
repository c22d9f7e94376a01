// The record files of the stand-in programs live beside the executable of the
// process that writes them, so that a test finds them without configuration;
// so do the files by which a test tells a stand-in how to end.
#pragma once

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// The path of fileName beside the process's executable into path
// (MAX_PATH + 64 characters); false when it does not fit.
inline bool PathBesideExecutable(const char* fileName, char* path) {
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  char* lastSlash = std::strrchr(path, '\\');
  if (lastSlash == nullptr || std::strlen(fileName) >= 64) return false;
  std::strcpy(lastSlash + 1, fileName);
  return true;
}

// Appends one formatted line to fileName beside the process's executable.
// Two stand-ins started together (two removals at once) append in turn: the
// C runtime's append seeks to the end and then writes, and a line written
// between the two by the other process would be overwritten.
inline bool AppendRecord(const char* fileName, const char* format, ...) {
  char path[MAX_PATH + 64];
  if (!PathBesideExecutable(fileName, path)) return false;
  const HANDLE turn = CreateMutexA(nullptr, FALSE, "Local\\tw-test-record-append");
  if (turn == nullptr) return false;
  WaitForSingleObject(turn, 10000);
  std::FILE* out = std::fopen(path, "ab");
  bool written = out != nullptr;
  if (written) {
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(out, format, arguments);
    va_end(arguments);
    std::fputc('\n', out);
    written = std::fclose(out) == 0;
  }
  ReleaseMutex(turn);
  CloseHandle(turn);
  return written;
}

// The number that fileName beside the process's executable holds; false
// when there is no such file.
inline bool ReadNumberBeside(const char* fileName, unsigned long* number) {
  char path[MAX_PATH + 64];
  if (!PathBesideExecutable(fileName, path)) return false;
  std::FILE* in = std::fopen(path, "rb");
  if (in == nullptr) return false;
  char text[16] = "";
  const std::size_t read = std::fread(text, 1, sizeof text - 1, in);
  std::fclose(in);
  text[read] = '\0';
  *number = std::strtoul(text, nullptr, 10);
  return true;
}
