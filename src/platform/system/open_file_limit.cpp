#include "platform/system/open_file_limit.h"

#include <sys/resource.h>

#include <algorithm>

namespace kesta::OpenFileLimit {

std::uint64_t raiseTo(std::uint64_t wanted) {
  rlimit limit{};
  if (getrlimit(RLIMIT_NOFILE, &limit) != 0) return 0;
  if (limit.rlim_cur >= wanted) return limit.rlim_cur;
  rlimit raised = limit;
  raised.rlim_cur = std::min<rlim_t>(limit.rlim_max, wanted);
  if (setrlimit(RLIMIT_NOFILE, &raised) != 0) return limit.rlim_cur;
  return raised.rlim_cur;
}

}  // namespace kesta::OpenFileLimit
