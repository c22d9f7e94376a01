#include "platform/memory/live_slots.h"

namespace tw {
namespace {

std::size_t LowestBit(std::size_t node) { return node & (~node + 1); }

}  // namespace

std::size_t LiveSlots::LiveBefore(std::size_t count) const {
  std::size_t sum = 0;
  for (std::size_t node = count; node > 0; node -= LowestBit(node)) sum += tree_[node - 1];
  return sum;
}

std::size_t LiveSlots::Append() {
  // Node n counts the slots (n - lowest bit of n, n]: the new one and the
  // older ones of that range that are still live.
  const std::size_t node = tree_.size() + 1;
  const std::size_t covered = LiveBefore(node - 1) - LiveBefore(node - LowestBit(node));
  tree_.push_back(static_cast<std::uint32_t>(covered + 1));
  ++live_;
  return node - 1;
}

void LiveSlots::Remove(std::size_t slot) {
  for (std::size_t node = slot + 1; node <= tree_.size(); node += LowestBit(node)) --tree_[node - 1];
  --live_;
}

std::size_t LiveSlots::Nth(std::size_t index) const {
  if (live_ == tree_.size()) return index;  // nothing removed: the common walk costs no descent
  std::size_t step = 1;
  while (step * 2 <= tree_.size()) step *= 2;
  // Descends to the last node whose prefix still holds at most `index` live
  // slots; the slot after it is the one asked for.
  std::size_t node = 0;
  std::size_t remaining = index + 1;
  for (; step > 0; step /= 2) {
    if (node + step <= tree_.size() && tree_[node + step - 1] < remaining) {
      node += step;
      remaining -= tree_[node - 1];
    }
  }
  return node;
}

void LiveSlots::Clear() {
  tree_.clear();
  live_ = 0;
}

}  // namespace tw
