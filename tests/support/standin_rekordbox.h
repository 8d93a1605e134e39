#pragma once

#include <sys/types.h>

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>

namespace kesta::test {

// The stand-in rekordbox window (tests/support/standin_rekordbox) run as a
// child process on a given X display. Commands and answers are the program's
// own (see its main.cpp): one command a line, one JSON answer a line, given
// once the change is on screen.
class StandInRekordbox {
 public:
  struct Options {
    int width = 1600;
    int height = 1000;
    int x = 0;
    int y = 0;
    int titleSize = 15;
  };

  // Starts the window and waits until it is on screen. Throws
  // std::runtime_error when it does not come up.
  explicit StandInRekordbox(const std::string& display);
  StandInRekordbox(const std::string& display, Options options);
  ~StandInRekordbox();
  StandInRekordbox(const StandInRekordbox&) = delete;
  StandInRekordbox& operator=(const StandInRekordbox&) = delete;

  std::uint32_t windowId() const { return windowId_; }
  pid_t pid() const { return pid_; }

  // Sends one command and returns its answer. Throws std::runtime_error when
  // the window answers with an error, does not answer in time, or has gone.
  nlohmann::json send(const std::string& command);

  // Loads a track: the answer holds what the deck shows ("title" as cut to
  // fit, "elapsed", "remaining", …).
  nlohmann::json load(int deck, const nlohmann::json& track);

  // Closes the window and waits until the process has ended.
  void quit();

 private:
  nlohmann::json readAnswer();
  // Closes the pipes, waits for the process (ending it when it lingers) and
  // removes its runtime folder.
  void stop();

  pid_t pid_ = -1;
  int toChild_ = -1;
  int fromChild_ = -1;
  std::string buffered_;
  std::string runtimeDir_;
  std::uint32_t windowId_ = 0;
};

// The stand-in program's path in the build tree.
std::string standInRekordboxPath();

}  // namespace kesta::test
