#include "platform/memory/value_list.h"

#include "platform/memory/folded_name.h"

namespace tw {
namespace {

// Below this many slots a sparse list is left as it is.
constexpr std::size_t kMinimumSlotsToCompact = 32;

}  // namespace

const ValueList::Value* ValueList::Find(const std::string& name) const {
  auto it = slotByFoldedName_.find(FoldedName(name, codePage_));
  return it == slotByFoldedName_.end() ? nullptr : &*slots_[it->second];
}

const ValueList::Value* ValueList::At(std::size_t index) const {
  return index < live_.LiveCount() ? &*slots_[live_.Nth(index)] : nullptr;
}

void ValueList::Set(const std::string& name, ValueType type, std::vector<std::uint8_t> data) {
  auto [it, added] = slotByFoldedName_.try_emplace(FoldedName(name, codePage_), slots_.size());
  if (!added) {
    Value& value = *slots_[it->second];
    value.type = type;
    value.data = std::move(data);
    return;
  }
  live_.Append();
  slots_.push_back(Value{name, type, std::move(data)});
}

bool ValueList::Remove(const std::string& name) {
  auto it = slotByFoldedName_.find(FoldedName(name, codePage_));
  if (it == slotByFoldedName_.end()) return false;
  const std::size_t slot = it->second;
  slotByFoldedName_.erase(it);
  slots_[slot].reset();
  live_.Remove(slot);
  CompactIfSparse();
  return true;
}

void ValueList::CompactIfSparse() {
  if (slots_.size() < kMinimumSlotsToCompact || slots_.size() <= 2 * live_.LiveCount()) return;
  std::vector<std::optional<Value>> kept;
  kept.reserve(live_.LiveCount());
  live_.Clear();
  for (std::optional<Value>& slot : slots_) {
    if (!slot) continue;
    slotByFoldedName_[FoldedName(slot->name, codePage_)] = kept.size();
    kept.push_back(std::move(slot));
    live_.Append();
  }
  slots_ = std::move(kept);
}

}  // namespace tw
