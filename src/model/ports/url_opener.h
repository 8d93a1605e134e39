#pragma once

#include <string>

namespace kesta::model {

// Opens an address with the desktop's handler (settings pages, folders).
class UrlOpener {
 public:
  virtual ~UrlOpener() = default;
  virtual void open(const std::string& url) = 0;
};

}  // namespace kesta::model
