#include "registry/counters.h"

#include "registry/layout.h"
#include "registry/scoped_key.h"

namespace tw {
namespace {

// The counter's bytes in the low-order positions of a zeroed 4-byte buffer.
bool ReadCounterBytes(Registry& registry, RegKey key, const char* valueName, std::uint32_t* value) {
  std::uint8_t data[layout::kCounterBytes] = {0, 0, 0, 0};
  std::uint32_t size = layout::kCounterBytes;
  if (registry.QueryValue(key, valueName, nullptr, data, &size) != kErrorSuccess) return false;
  *value = static_cast<std::uint32_t>(data[0]) | static_cast<std::uint32_t>(data[1]) << 8 |
           static_cast<std::uint32_t>(data[2]) << 16 | static_cast<std::uint32_t>(data[3]) << 24;
  return true;
}

}  // namespace

std::int32_t ReadCounter(Registry& registry, RegKey root, const std::string& path, const char* valueName) {
  ScopedKey key(registry, root, path, kKeyQueryValue);
  std::uint32_t value = 0;
  if (!key.IsOpen() || !ReadCounterBytes(registry, key.Handle(), valueName, &value)) return -1;
  return static_cast<std::int32_t>(value);
}

void DecrementCounter(Registry& registry, RegKey root, const std::string& path, const char* valueName) {
  ScopedKey key(registry, root, path, kKeyAllAccess);
  std::uint32_t value = 0;
  if (!key.IsOpen() || !ReadCounterBytes(registry, key.Handle(), valueName, &value)) return;
  if (value >= 1) key.SetDword(valueName, value - 1);
}

bool ReleaseCounter(Registry& registry, Ledger& ledger, RegKey root, const std::string& path, const char* valueName,
                    std::string* lastUse) {
  // A removal cut short and run again: what it recorded is not read afresh.
  // A decremented counter may now read 1 and would look like the last use.
  const std::string mark = ledger.Identify(root, path, valueName);
  const Ledger::Mark done = ledger.MarkOf(mark);
  if (lastUse) *lastUse = mark;
  if (done != Ledger::Mark::kNone) return done == Ledger::Mark::kLastUser;

  const std::int32_t users = ReadCounter(registry, root, path, valueName);
  // Killed after the record and before the write: one decrement lost, the
  // counter stays one too high. An unwritable record leaves it so too.
  if (users > 1 && ledger.Record(mark, Ledger::Mark::kDone)) DecrementCounter(registry, root, path, valueName);
  const bool last = users == 0 || users == 1;
  // Unrecorded, these deletes are still made; a run cut inside them leaves
  // litter that the next run cannot find.
  if (last && lastUse) ledger.Record(mark, Ledger::Mark::kLastUser);
  return last;
}

}  // namespace tw
