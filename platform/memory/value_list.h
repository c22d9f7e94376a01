// The values of one in-memory key as Windows keeps them: found by name without
// regard to case, stored case kept, enumerated by index in creation order, a
// replaced value in its old place. Finding, adding and deleting cost the same
// however many values the key holds, and an index costs a logarithm, so that
// emptying a key of many values stays linear.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <map>
#include <vector>

#include "platform/code_page.h"
#include "platform/memory/live_slots.h"
#include "platform/types.h"

namespace tw {

class ValueList {
 public:
  // Names are folded as the code page reads them; it must outlive the list.
  explicit ValueList(const CodePage& codePage) : codePage_(codePage) {}

  struct Value {
    std::string name;
    ValueType type;
    std::vector<std::uint8_t> data;
  };

  // Null when the key holds no value of that name.
  const Value* Find(const std::string& name) const;
  // The value with `index` values created before it; null past the last.
  const Value* At(std::size_t index) const;
  std::size_t Size() const { return live_.LiveCount(); }

  // Replaces the type and data of the value of that name in its place, or
  // adds the value last.
  void Set(const std::string& name, ValueType type, std::vector<std::uint8_t> data);
  // False when there is no value of that name.
  bool Remove(const std::string& name);

 private:
  // Drops the slots of deleted values once they outnumber the live ones.
  void CompactIfSparse();

  const CodePage& codePage_;
  std::vector<std::optional<Value>> slots_;  // creation order; empty where deleted
  std::map<std::string, std::size_t> slotByFoldedName_;  // ordered: no hash tables in the program
  LiveSlots live_;
};

}  // namespace tw
