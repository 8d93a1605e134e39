#pragma once

#include <string>

namespace kesta::model {

// Opens an address with the desktop's handler (settings pages, folders).
class UrlOpener {
 public:
  virtual ~UrlOpener() = default;
  // False when no handler took the address (a desktop without a file
  // browser, say); callers that have another way to help the user use it.
  virtual bool open(const std::string& url) = 0;
};

}  // namespace kesta::model
