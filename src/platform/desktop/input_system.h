#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/image/geometry.h"

namespace kesta {

// Modifier bits of a synthetic key stroke, valued as the macOS event flags
// that the strokes are written against; Command acts as Control here.
namespace KeyFlags {
inline constexpr std::uint64_t shift = 0x20000;
inline constexpr std::uint64_t control = 0x40000;
inline constexpr std::uint64_t command = 0x100000;
}  // namespace KeyFlags

// Synthetic input and window activation on the desktop, as one application
// drives another the way a user would. `trusted` may be asked from any
// thread, also while another thread drives the input; the other calls are
// made from one thread at a time.
class InputSystem {
 public:
  virtual ~InputSystem() = default;

  // Whether synthetic input can be sent at all.
  virtual bool trusted() = 0;

  // The process of the application in front (the active window's), if any.
  virtual std::optional<std::int32_t> frontmostProcess() = 0;
  // Asks the window manager to activate `window`; does not wait.
  virtual void activate(std::uint32_t window) = 0;
  // Raises `window` and gives it the input focus directly: the fallback
  // without a window manager, and a nudge when activation is slow.
  virtual void raiseAndFocus(std::uint32_t window) = 0;

  // The role of the focused element of that process, when an accessibility
  // interface can tell (e.g. "AXTextField"); absent when it cannot.
  virtual std::optional<std::string> focusedRole(std::int32_t pid) = 0;

  // Presses and releases the key of macOS virtual key code `keyCode` with the
  // KeyFlags in `flags`. False when the events could not be made; nothing
  // has been sent then.
  virtual bool sendKey(std::uint16_t keyCode, std::uint64_t flags) = 0;
  // A left click at `point` (global screen coordinates). False when the
  // events could not be made.
  virtual bool click(Point point) = 0;

  // Where the pointer is now; absent when that cannot be read.
  virtual std::optional<Point> pointer() = 0;
  virtual void movePointer(Point point) = 0;
};

}  // namespace kesta
