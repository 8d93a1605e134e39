#pragma once

#include <string>

#include "model/ports/url_opener.h"

namespace kesta::ui {

// Opens an address, or a local path (a folder opens in the file browser),
// with the desktop's handler. A failure is logged and otherwise ignored: there
// is nothing the user could do about it here. Main thread.
class QtUrlOpener : public model::UrlOpener {
 public:
  void open(const std::string& url) override;
};

}  // namespace kesta::ui
