// The record files of the stand-in programs live beside the executable of the
// process that writes them, so that a test finds them without configuration.
#pragma once

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

// Appends one formatted line to fileName beside the process's executable.
inline bool AppendRecord(const char* fileName, const char* format, ...) {
  char path[MAX_PATH + 64];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  char* lastSlash = std::strrchr(path, '\\');
  if (lastSlash == nullptr || std::strlen(fileName) >= 64) return false;
  std::strcpy(lastSlash + 1, fileName);

  std::FILE* out = std::fopen(path, "ab");
  if (out == nullptr) return false;
  va_list arguments;
  va_start(arguments, format);
  std::vfprintf(out, format, arguments);
  va_end(arguments);
  std::fputc('\n', out);
  return std::fclose(out) == 0;
}
