#pragma once

#include <string>

namespace kesta::model {

// Opens an address with the desktop's handler (settings pages, folders).
class UrlOpener {
 public:
  virtual ~UrlOpener() = default;
  // False when no handler could be started (a desktop without a launcher
  // such as xdg-open, say); callers that have another way to help the user
  // use it. A handler started that fails later is not seen.
  virtual bool open(const std::string& url) = 0;
};

}  // namespace kesta::model
