#include "registry/enumeration.h"

#include <cstring>

namespace tw {
namespace {

bool HoldsNul(const char* name, std::uint32_t size) { return std::memchr(name, '\0', size) != nullptr; }

}  // namespace

std::string RegistryValue::Text() const {
  const auto* begin = reinterpret_cast<const char*>(data.data());
  const auto* end = static_cast<const char*>(std::memchr(begin, '\0', data.size()));
  return std::string(begin, end ? end : begin + data.size());
}

std::vector<std::string> CollectSubkeyNames(Registry& registry, RegKey key, std::uint32_t nameCapacity,
                                            bool* complete) {
  std::vector<std::string> names;
  std::vector<char> name(nameCapacity);
  for (std::uint32_t index = 0;; ++index) {
    std::uint32_t size = nameCapacity;
    const Status status = registry.EnumKey(key, index, name.data(), &size);
    if (status == kErrorSuccess && !HoldsNul(name.data(), size)) {
      names.emplace_back(name.data(), size);
    } else if (status != kErrorSuccess && status != kErrorMoreData) {
      if (complete) *complete = status == kErrorNoMoreItems;
      return names;
    }
  }
}

std::vector<RegistryValue> CollectValues(Registry& registry, RegKey key, std::uint32_t nameCapacity,
                                         std::uint32_t dataCapacity) {
  std::vector<RegistryValue> values;
  std::vector<char> name(nameCapacity);
  std::vector<std::uint8_t> data(dataCapacity);
  for (std::uint32_t index = 0;; ++index) {
    std::uint32_t nameSize = nameCapacity;
    std::uint32_t dataSize = dataCapacity;
    ValueType type = kRegNone;
    const Status status = registry.EnumValue(key, index, name.data(), &nameSize, &type, data.data(), &dataSize);
    if (status == kErrorSuccess && !HoldsNul(name.data(), nameSize)) {
      values.push_back({std::string(name.data(), nameSize), type,
                        std::vector<std::uint8_t>(data.begin(), data.begin() + dataSize)});
    } else if (status != kErrorSuccess && status != kErrorMoreData) {
      return values;
    }
  }
}

}  // namespace tw
