#include "platform/journal/journal_file_system.h"

#include "platform/journal/reg_syntax.h"

namespace tw {

bool JournalFileSystem::Record(bool succeeded, const std::string& change, const std::string& failure) {
  if (succeeded) {
    journal_.Change(change);
  } else {
    journal_.Failure(failure, inner_.LastError());
  }
  return succeeded;
}

bool JournalFileSystem::SetAttributes(const char* path, std::uint32_t attributes) {
  const std::uint32_t old = inner_.GetAttributes(path);
  const std::string where = journal_.Utf8(path);
  const bool clearsReadOnly =
      old != kInvalidFileAttributes && (old & kFileAttributeReadOnly) != 0 && (attributes & kFileAttributeReadOnly) == 0;
  return Record(inner_.SetAttributes(path, attributes),
                clearsReadOnly ? "read-only attribute cleared: " + where
                               : "attributes set to 0x" + HexDigits(attributes, 8) + ": " + where,
                "set attributes of " + where);
}

bool JournalFileSystem::RemoveFile(const char* path) {
  const std::string where = journal_.Utf8(path);
  return Record(inner_.RemoveFile(path), "file deleted: " + where, "delete file " + where);
}

bool JournalFileSystem::RemoveFolder(const char* path) {
  const std::string where = journal_.Utf8(path);
  return Record(inner_.RemoveFolder(path), "folder deleted: " + where, "delete folder " + where);
}

}  // namespace tw
