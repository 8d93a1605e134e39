#include "kesta_process.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <thread>

namespace kesta::test {

std::string kestaProgramPath() { return KESTA_PROGRAM; }

bool waitFor(const std::function<bool()>& done, double seconds) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() >= until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  return true;
}

std::string commandOutput(const std::string& command) {
  std::string text;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe)) text += buffer;
    pclose(pipe);
  }
  while (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

std::optional<WindowInfo> kestaWindow(X11WindowSystem& windows, int width, int height) {
  for (const WindowInfo& window : windows.windows()) {
    if (window.className == "Kesta" && window.viewable && window.frame.width == width &&
        window.frame.height == height)
      return window;
  }
  return std::nullopt;
}

KestaProcess::KestaProcess(const std::string& display, const std::filesystem::path& dataDir) {
  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error("could not start Kesta");
  if (pid_ == 0) {
    setenv("DISPLAY", display.c_str(), 1);
    setenv("KESTA_DATA_DIR", dataDir.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    setenv("OMP_THREAD_LIMIT", "1", 1);
    const std::string program = kestaProgramPath();
    execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
}

KestaProcess::~KestaProcess() {
  if (pid_ <= 0) return;
  kill(pid_, SIGKILL);
  waitpid(pid_, nullptr, 0);
}

std::optional<int> KestaProcess::waitForExit(double seconds) {
  if (pid_ <= 0) return std::nullopt;
  const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (true) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    }
    if (std::chrono::steady_clock::now() >= until) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

std::vector<LibraryTrack> sampleTracks(const std::filesystem::path& path) {
  std::ifstream file(path);
  const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  const auto attribute = [](const std::string& element, const std::string& name) {
    const auto start = element.find(" " + name + "=\"") + name.size() + 3;
    return element.substr(start, element.find('"', start) - start);
  };
  std::vector<LibraryTrack> tracks;
  for (auto at = text.find("<TRACK "); at != std::string::npos; at = text.find("<TRACK ", at + 1)) {
    const std::string element = text.substr(at, text.find("/>", at) - at);
    tracks.push_back({attribute(element, "Name"), attribute(element, "Artist"),
                      attribute(element, "AverageBpm"), attribute(element, "Tonality")});
  }
  return tracks;
}

}  // namespace kesta::test
