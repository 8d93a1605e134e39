#pragma once

#include <string>

#include "model/ports/url_opener.h"

namespace kesta::ui {

// Opens an address, or a local path (a folder opens in the file browser),
// with the desktop's handler. A failure is logged and reported to the caller.
// Main thread.
class QtUrlOpener : public model::UrlOpener {
 public:
  bool open(const std::string& url) override;
};

}  // namespace kesta::ui
