// Which slots of a sequence that only grows at its end are still live, and
// where the n-th live one is, each in logarithmic time (a Fenwick tree of
// live counts), so that a list can lose members without moving the others
// and still be walked by index.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tw {

class LiveSlots {
 public:
  // Adds a live slot after the last one and returns its position.
  std::size_t Append();
  // The slot at that position, which must be live, is live no more.
  void Remove(std::size_t slot);
  // Position of the live slot that has `index` live slots before it; index
  // must be below LiveCount().
  std::size_t Nth(std::size_t index) const;

  std::size_t LiveCount() const { return live_; }
  std::size_t SlotCount() const { return tree_.size(); }
  void Clear();

 private:
  // Live slots among the first `count`.
  std::size_t LiveBefore(std::size_t count) const;

  std::vector<std::uint32_t> tree_;  // tree_[i - 1] is node i of the 1-based tree
  std::size_t live_ = 0;
};

}  // namespace tw
