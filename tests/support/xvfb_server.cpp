#include "support/xvfb_server.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <stdexcept>
#include <thread>
#include <vector>

extern char** environ;

namespace kesta::test {

namespace {

// Waits for the child to end, at most `limit`; true when it ended.
bool reap(pid_t pid, std::chrono::milliseconds limit) {
  const auto until = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < until) {
    int status = 0;
    const pid_t done = ::waitpid(pid, &status, WNOHANG);
    if (done == pid || (done < 0 && errno == ECHILD)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return false;
}

void stop(pid_t pid) {
  ::kill(pid, SIGTERM);
  if (!reap(pid, std::chrono::seconds(5))) {
    ::kill(pid, SIGKILL);
    reap(pid, std::chrono::seconds(5));
  }
}

}  // namespace

XvfbServer::XvfbServer(int width, int height) {
  int fds[2];
  if (::pipe(fds) != 0) throw std::runtime_error("Xvfb: no pipe");
  ::fcntl(fds[0], F_SETFD, FD_CLOEXEC);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addclose(&actions, fds[0]);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

  const std::string fd = std::to_string(fds[1]);
  const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
  std::vector<std::string> args{"Xvfb", "-displayfd", fd,    "-screen",    "0",
                                screen, "-nolisten",  "tcp", "+extension", "Composite"};
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  const int spawned = ::posix_spawnp(&pid_, "Xvfb", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(fds[1]);
  if (spawned != 0) {
    ::close(fds[0]);
    throw std::runtime_error(std::string("Xvfb could not be started: ") + std::strerror(spawned));
  }

  // Xvfb writes the display number and a newline once it accepts connections.
  std::string number;
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (number.empty() || number.back() != '\n') {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
    pollfd p{fds[0], POLLIN, 0};
    if (left.count() <= 0 || ::poll(&p, 1, int(left.count())) <= 0) break;
    char c;
    if (::read(fds[0], &c, 1) != 1) break;
    number.push_back(c);
  }
  ::close(fds[0]);
  if (number.size() < 2 || number.back() != '\n') {
    stop(pid_);
    throw std::runtime_error("Xvfb did not report a display");
  }
  number.pop_back();
  display_ = ":" + number;
}

XvfbServer::~XvfbServer() {
  if (pid_ > 0) stop(pid_);
}

}  // namespace kesta::test
