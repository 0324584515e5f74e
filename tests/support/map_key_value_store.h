#pragma once
// A KeyValueStore over a map: the button map as a test sets it.
#include <map>
#include <string>

#include "media/key_value_store.h"

namespace velmoria::test {

class MapKeyValueStore : public KeyValueStore {
 public:
  std::map<std::string, std::string> values;  // text, so a test can store a non-integer
  std::optional<int32_t> readInt(const std::string& name) const override;
};

}  // namespace velmoria::test
