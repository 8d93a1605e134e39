#pragma once

#include <exception>
#include <string>

namespace kesta {

// Why the rekordbox window could not be read, with a full text for the full
// window and a short one for the corner card. Thrown by frame sources.
class CaptureError : public std::exception {
 public:
  enum class Kind {
    captureFailed,        // the window system's capture failed; message() says how
    permissionNeeded,     // screen capture is not allowed
    rekordboxNotRunning,  // rekordbox has no window and no process
    windowNotVisible,     // rekordbox runs but no window of it qualifies, or nothing is connected
  };

  static CaptureError captureFailed(std::string message) { return {Kind::captureFailed, std::move(message)}; }
  static CaptureError permissionNeeded() { return {Kind::permissionNeeded, {}}; }
  static CaptureError rekordboxNotRunning() { return {Kind::rekordboxNotRunning, {}}; }
  static CaptureError windowNotVisible() { return {Kind::windowNotVisible, {}}; }

  Kind kind() const { return kind_; }
  // The window system's own words; empty for every kind but captureFailed.
  const std::string& message() const { return message_; }

  // The full text; also what what() gives.
  const std::string& errorDescription() const { return description_; }
  // The one-line text for the corner card.
  std::string shortDescription() const;
  // The case as diagnostics write it: its name, and for captureFailed the
  // message as a quoted literal: captureFailed("Display closed").
  std::string debugDescription() const;

  const char* what() const noexcept override { return description_.c_str(); }

  friend bool operator==(const CaptureError& a, const CaptureError& b) {
    return a.kind_ == b.kind_ && a.message_ == b.message_;
  }

 private:
  CaptureError(Kind kind, std::string message);

  Kind kind_;
  std::string message_;
  std::string description_;
};

}  // namespace kesta
