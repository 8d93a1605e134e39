#pragma once

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/x11/x11_window_system.h"

namespace kesta::test {

// Kesta's own program run as a child process on an X display, over a data
// folder of the test's. Ended (SIGKILL) when the object goes and it still runs.
class KestaProcess {
 public:
  KestaProcess(const std::string& display, const std::filesystem::path& dataDir);
  ~KestaProcess();
  KestaProcess(const KestaProcess&) = delete;
  KestaProcess& operator=(const KestaProcess&) = delete;

  // Waits up to `seconds` for the process to end: its exit status, or none
  // while it still runs (or when it was ended by a signal: -signal).
  std::optional<int> waitForExit(double seconds);

 private:
  pid_t pid_ = -1;
};

// The program's path in the build tree.
std::string kestaProgramPath();

// Polls `done` every 200 ms for up to `seconds`; whether it came true.
bool waitFor(const std::function<bool()>& done, double seconds);

// A shell command's standard output without the final line break.
std::string commandOutput(const std::string& command);

// Kesta's shown window of exactly this size, if there is one.
std::optional<WindowInfo> kestaWindow(X11WindowSystem& windows, int width, int height);

// One track of a sample export, as its TRACK element gives it.
struct LibraryTrack {
  std::string title;
  std::string artist;
  std::string bpm;
  std::string key;
};

// The tracks of the sample export at `path`, in file order.
std::vector<LibraryTrack> sampleTracks(const std::filesystem::path& path);

}  // namespace kesta::test
