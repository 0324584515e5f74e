#include "support/map_key_value_store.h"

#include "frame/data_values.h"

namespace velmoria::test {

std::optional<int32_t> MapKeyValueStore::readInt(const std::string& name) const {
  const auto it = values.find(name);
  if (it == values.end()) return std::nullopt;
  return parseInt32(it->second);
}

}  // namespace velmoria::test
