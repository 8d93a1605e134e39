#pragma once

#include <functional>
#include <string>

namespace kesta::model {

// Opens an address with the desktop's handler (settings pages, folders).
// Main thread only. `open` returns at once: the handler is started and never
// waited for, and its outcome comes later to `done`, on the main thread,
// never inside `open` itself.
class UrlOpener {
 public:
  // True when the handler took the address; false when none could be started
  // (a desktop without a launcher such as xdg-open, say) or the one started
  // said it failed (a launcher that found no program for the address).
  using Done = std::function<void(bool opened)>;

  virtual ~UrlOpener() = default;
  // `done` runs once, unless it is empty.
  virtual void open(const std::string& url, Done done) = 0;
};

}  // namespace kesta::model
