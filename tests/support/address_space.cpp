#include "support/address_space.h"

#include <sys/resource.h>
#include <unistd.h>

#include <fstream>

namespace velmoria::test {

bool limitAddressSpaceToMore(size_t more) {
  // The mapped size first: a sanitizer's shadow memory alone is far more than any fixed limit.
  std::ifstream statm("/proc/self/statm");
  unsigned long long pages = 0;
  if (!(statm >> pages)) return false;
  const rlim_t limit =
      static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + more;
  const rlimit r{limit, limit};
  return setrlimit(RLIMIT_AS, &r) == 0;
}

}  // namespace velmoria::test
