#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/desktop/input_system.h"

namespace kesta {

// An input system for tests: a scripted desktop that records every event it
// is asked to send, in order.
class FakeInputSystem : public InputSystem {
 public:
  struct Event {
    enum class Kind { activate, raise, key, click, move };
    Kind kind = Kind::key;
    std::uint32_t window = 0;   // activate, raise
    std::uint16_t keyCode = 0;  // key
    std::uint64_t flags = 0;    // key
    Point point{};              // click, move

    friend bool operator==(const Event&, const Event&) = default;
  };

  bool isTrusted = true;
  std::optional<std::int32_t> front;
  // The process each window belongs to, for activation.
  std::function<std::optional<std::int32_t>(std::uint32_t window)> ownerOf;
  // Whether activate / raiseAndFocus bring the window's process to the front.
  bool activationWorks = true;
  bool raiseWorks = true;
  std::optional<std::string> role;
  bool eventsFail = false;
  std::optional<Point> position = Point{300, 200};

  std::vector<Event> events;
  // Called after each event is recorded, so a test can let the desktop react.
  std::function<void(const Event&)> onEvent;

  bool trusted() override { return isTrusted; }
  std::optional<std::int32_t> frontmostProcess() override { return front; }
  void activate(std::uint32_t window) override;
  void raiseAndFocus(std::uint32_t window) override;
  std::optional<std::string> focusedRole(std::int32_t) override { return role; }
  bool sendKey(std::uint16_t keyCode, std::uint64_t flags) override;
  bool click(Point point) override;
  std::optional<Point> pointer() override { return position; }
  void movePointer(Point point) override;

  // The recorded events of one kind.
  std::vector<Event> eventsOf(Event::Kind kind) const;

 private:
  void record(Event event);
  void bringForward(std::uint32_t window);
};

}  // namespace kesta
