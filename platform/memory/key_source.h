// Where the keys of an in-memory registry come from when they were not made
// in it: a preview's overlay reads each from the machine when a call first
// reaches it, not before.
#pragma once

#include <string>

#include "platform/types.h"

namespace tw {

class KeyFill;

class KeySource {
 public:
  virtual ~KeySource() = default;
  // Fills the key with what the source holds at root\path; false when the
  // source has no such key.
  virtual bool ReadKey(KeyFill& key, RegKey root, const std::string& path) = 0;
};

}  // namespace tw
