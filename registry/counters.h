// Reference counters: 4-byte values that count the products of the family
// using a shared thing. The release rule keeps a removal from taking a count
// twice by recording each decrement in the ledger before it is made.
#pragma once

#include <cstdint>
#include <string>

#include "platform/registry.h"
#include "registry/ledger.h"

namespace tw {

// The counter's value; -1 when the key or value is missing or does not fit 4 bytes.
std::int32_t ReadCounter(Registry& registry, RegKey root, const std::string& path, const char* valueName);
// One less, written as a DWORD; a counter at 0 or unreadable is left alone.
void DecrementCounter(Registry& registry, RegKey root, const std::string& path, const char* valueName);
// The reference-counting rule on one counter: a shared one (2 or more) is
// decremented. True when the product being removed is the last user (0 or
// 1); false when others still use the thing or the counter is unreadable.
// Through the ledger: a decrement is recorded before it is made and never
// made again by a run that finishes this removal. With lastUse, a last use
// whose deletes take the counter first is marked too, so that they are
// finished, and lastUse names the mark for the caller to settle once done.
bool ReleaseCounter(Registry& registry, Ledger& ledger, RegKey root, const std::string& path, const char* valueName,
                    std::string* lastUse = nullptr);

}  // namespace tw
