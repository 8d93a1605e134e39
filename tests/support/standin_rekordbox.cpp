#include "support/standin_rekordbox.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <thread>
#include <vector>

extern char** environ;

namespace kesta::test {

namespace {

constexpr auto kAnswerTime = std::chrono::seconds(15);

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

std::vector<std::string> environmentFor(const std::string& display, const std::string& runtimeDir) {
  std::vector<std::string> out;
  for (char** e = environ; *e; ++e) {
    const std::string entry(*e);
    if (entry.starts_with("DISPLAY=") || entry.starts_with("WAYLAND_DISPLAY=") ||
        entry.starts_with("QT_QPA_PLATFORM=") || entry.starts_with("XDG_RUNTIME_DIR=")) {
      continue;
    }
    out.push_back(entry);
  }
  out.push_back("DISPLAY=" + display);
  out.push_back("QT_QPA_PLATFORM=xcb");
  out.push_back("XDG_RUNTIME_DIR=" + runtimeDir);
  return out;
}

}  // namespace

std::string standInRekordboxPath() { return KESTA_STANDIN_REKORDBOX; }

StandInRekordbox::StandInRekordbox(const std::string& display) : StandInRekordbox(display, Options{}) {}

StandInRekordbox::StandInRekordbox(const std::string& display, Options options) {
  // Qt wants a private runtime folder; each window gets its own.
  std::string runtimeDir = (std::filesystem::temp_directory_path() / "kesta-standin-XXXXXX").string();
  if (!::mkdtemp(runtimeDir.data())) throw std::runtime_error("stand-in: no runtime folder");
  runtimeDir_ = runtimeDir;
  int input[2], output[2];
  if (::pipe2(input, O_CLOEXEC) != 0 || ::pipe2(output, O_CLOEXEC) != 0) {
    stop();
    throw std::runtime_error("stand-in: no pipes");
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);

  std::vector<std::string> args{standInRekordboxPath(),
                                "--size",
                                std::to_string(options.width) + "x" + std::to_string(options.height),
                                "--position",
                                std::to_string(options.x) + "," + std::to_string(options.y),
                                "--title-size",
                                std::to_string(options.titleSize)};
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  auto environment = environmentFor(display, runtimeDir_);
  std::vector<char*> envp;
  for (auto& e : environment) envp.push_back(e.data());
  envp.push_back(nullptr);

  const int spawned = ::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  ::close(input[0]);
  ::close(output[1]);
  toChild_ = input[1];
  fromChild_ = output[0];
  try {
    if (spawned != 0) {
      pid_ = -1;
      throw std::runtime_error(std::string("stand-in could not be started: ") + std::strerror(spawned));
    }
    const nlohmann::json ready = readAnswer();
    if (!ready.contains("ready")) throw std::runtime_error("stand-in: unexpected first line " + ready.dump());
    windowId_ = ready["ready"].get<std::uint32_t>();
  } catch (...) {
    stop();
    throw;
  }
}

StandInRekordbox::~StandInRekordbox() { stop(); }

void StandInRekordbox::stop() {
  if (toChild_ >= 0) ::close(toChild_);
  if (fromChild_ >= 0) ::close(fromChild_);
  if (pid_ > 0 && !reap(pid_, std::chrono::seconds(3))) {
    ::kill(pid_, SIGKILL);
    reap(pid_, std::chrono::seconds(3));
  }
  if (!runtimeDir_.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(runtimeDir_, ignored);
  }
  toChild_ = fromChild_ = pid_ = -1;
  runtimeDir_.clear();
}

nlohmann::json StandInRekordbox::readAnswer() {
  const auto until = std::chrono::steady_clock::now() + kAnswerTime;
  std::size_t end;
  while ((end = buffered_.find('\n')) == std::string::npos) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
    pollfd p{fromChild_, POLLIN, 0};
    if (left.count() <= 0 || ::poll(&p, 1, int(left.count())) <= 0) {
      throw std::runtime_error("stand-in did not answer in time");
    }
    char chunk[4096];
    const ssize_t n = ::read(fromChild_, chunk, sizeof chunk);
    if (n <= 0) throw std::runtime_error("stand-in has gone");
    buffered_.append(chunk, std::size_t(n));
  }
  const std::string line = buffered_.substr(0, end);
  buffered_.erase(0, end + 1);
  return nlohmann::json::parse(line);
}

nlohmann::json StandInRekordbox::send(const std::string& command) {
  const std::string line = command + "\n";
  if (::write(toChild_, line.data(), line.size()) != ssize_t(line.size())) {
    throw std::runtime_error("stand-in does not take commands any more");
  }
  nlohmann::json answer = readAnswer();
  if (answer.contains("error"))
    throw std::runtime_error("stand-in refused \"" + command + "\": " + answer["error"].dump());
  return answer;
}

nlohmann::json StandInRekordbox::load(int deck, const nlohmann::json& track) {
  return send("load " + std::to_string(deck) + " " + track.dump());
}

void StandInRekordbox::quit() {
  send("quit");
  if (!reap(pid_, std::chrono::seconds(10))) throw std::runtime_error("stand-in did not quit");
  pid_ = -1;
}

}  // namespace kesta::test
