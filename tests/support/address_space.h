#pragma once
// For tests of allocations that a file's header could make unbounded: limits this process's
// address space to what it has mapped now plus `more` bytes (RLIMIT_AS), so that allocating
// beyond that fails. Meant for the child process of a death test; false when the limit cannot
// be set.
#include <cstddef>

namespace velmoria::test {

bool limitAddressSpaceToMore(size_t more);

constexpr size_t kThreeGigabytes = size_t(3) << 30;

}  // namespace velmoria::test
