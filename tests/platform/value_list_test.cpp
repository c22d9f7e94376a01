// The value list of the in-memory registry against a plain model of Windows'
// value order, over long mixes of adds, replacements and deletes that cross
// the points where the list drops its deleted slots.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "platform/memory/folded_name.h"
#include "platform/memory/value_list.h"
#include "tests/support/portable/ascii_code_page.h"

namespace tw::test {
namespace {

// Names in creation order with their data; a linear search, obviously right.
class ModelValues {
 public:
  void Set(const std::string& name, std::uint8_t data) {
    auto it = Find(name);
    if (it != values_.end()) {
      it->second = data;
    } else {
      values_.emplace_back(name, data);
    }
  }
  bool Remove(const std::string& name) {
    auto it = Find(name);
    if (it == values_.end()) return false;
    values_.erase(it);
    return true;
  }
  const std::vector<std::pair<std::string, std::uint8_t>>& Values() const { return values_; }

 private:
  std::vector<std::pair<std::string, std::uint8_t>>::iterator Find(const std::string& name) {
    return std::find_if(values_.begin(), values_.end(),
                        [&](const auto& value) { return FoldedName(value.first, AsciiCodePage()) == FoldedName(name, AsciiCodePage()); });
  }
  std::vector<std::pair<std::string, std::uint8_t>> values_;
};

std::vector<std::pair<std::string, std::uint8_t>> Enumerate(const ValueList& list) {
  std::vector<std::pair<std::string, std::uint8_t>> values;
  for (std::size_t index = 0; const ValueList::Value* value = list.At(index); ++index) {
    values.emplace_back(value->name, value->data.at(0));
  }
  return values;
}

TEST(ValueListTest, FollowsTheModelThroughLongMixesOfAddsReplacementsAndDeletes) {
  // Small pools empty the list often; large ones let deleted slots pile up
  // past the compaction threshold while the list stays big.
  for (const int poolSize : {3, 40, 700}) {
    std::mt19937 random(static_cast<std::mt19937::result_type>(poolSize));
    ValueList list(AsciiCodePage());
    ModelValues model;
    for (int step = 0; step < 6000; ++step) {
      std::string name = "v" + std::to_string(random() % poolSize);
      if (random() % 2) std::transform(name.begin(), name.end(), name.begin(), ::toupper);
      const auto data = static_cast<std::uint8_t>(random());
      // Deletes outweigh adds in long stretches, then adds take over.
      const bool deleting = (step / 1500) % 2 == 1 ? random() % 4 != 0 : random() % 3 == 0;
      if (deleting) {
        ASSERT_EQ(list.Remove(name), model.Remove(name)) << "step " << step << " " << name;
      } else {
        list.Set(name, kRegBinary, {data});
        model.Set(name, data);
      }
      ASSERT_EQ(list.Size(), model.Values().size()) << "step " << step;
      if (step % 97 == 0 || list.Size() < 3) {
        ASSERT_EQ(Enumerate(list), model.Values()) << "step " << step;
      }
    }
    EXPECT_EQ(Enumerate(list), model.Values());
  }
}

TEST(ValueListTest, FindsEveryNameInAnyCaseAndNothingAfterItsDelete) {
  ValueList list(AsciiCodePage());
  for (int i = 0; i < 200; ++i) list.Set("Name" + std::to_string(i), kRegDword, {static_cast<std::uint8_t>(i)});
  for (int i = 0; i < 200; i += 2) ASSERT_TRUE(list.Remove("NAME" + std::to_string(i)));
  for (int i = 0; i < 200; ++i) {
    const ValueList::Value* value = list.Find("name" + std::to_string(i));
    if (i % 2 == 0) {
      EXPECT_EQ(value, nullptr) << i;
      EXPECT_FALSE(list.Remove("Name" + std::to_string(i))) << i;
    } else {
      ASSERT_NE(value, nullptr) << i;
      EXPECT_EQ(value->name, "Name" + std::to_string(i));
      EXPECT_EQ(value->data, std::vector<std::uint8_t>{static_cast<std::uint8_t>(i)});
    }
  }
  EXPECT_EQ(list.At(100), nullptr);
  ASSERT_NE(list.At(99), nullptr);
  EXPECT_EQ(list.At(99)->name, "Name199");
}

TEST(ValueListTest, AValueDeletedAndSetAgainGoesLastAndAReplacedOneKeepsItsStoredCase) {
  ValueList list(AsciiCodePage());
  for (const char* name : {"First", "Second", "Third"}) list.Set(name, kRegSz, {1});
  list.Remove("FIRST");
  list.Set("first", kRegSz, {2});
  list.Set("SECOND", kRegDword, {3});
  ASSERT_EQ(list.Size(), 3u);
  EXPECT_EQ(list.At(0)->name, "Second");
  EXPECT_EQ(list.At(0)->type, kRegDword);
  EXPECT_EQ(list.At(1)->name, "Third");
  EXPECT_EQ(list.At(2)->name, "first");
}

}  // namespace
}  // namespace tw::test
