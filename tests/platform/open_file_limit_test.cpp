#include "platform/system/open_file_limit.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>

namespace kesta {
namespace {

struct Case {
  const char* label;
  rlim_t soft;
  rlim_t hard;
  std::uint64_t wanted;
  std::uint64_t answer;  // and the soft limit afterwards
};

// Each case runs in a child of its own, as a lowered hard limit cannot be
// raised again.
TEST(OpenFileLimit, RaisesTheSoftLimitAsFarAsTheHardOneAllows) {
  const Case cases[] = {
      {"raised to what is wanted", 12, 4096, 1024, 1024},
      {"raised only up to the hard limit", 12, 40, 1024, 40},
      {"a hard limit that allows no more", 12, 12, 1024, 12},
      {"a higher soft limit is kept", 2048, 4096, 1024, 2048},
  };
  for (const Case& c : cases) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      const rlimit start{c.soft, c.hard};
      if (setrlimit(RLIMIT_NOFILE, &start) != 0) _exit(2);
      const std::uint64_t answer = OpenFileLimit::raiseTo(c.wanted);
      rlimit now{};
      getrlimit(RLIMIT_NOFILE, &now);
      _exit(answer == c.answer && now.rlim_cur == c.answer && now.rlim_max == c.hard ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << c.label;
  }
}

}  // namespace
}  // namespace kesta
