#pragma once

#include <QString>
#include <chrono>
#include <string>

#include "model/ports/url_opener.h"

namespace kesta::ui {

// Opens an address, or a local path (a folder opens in the file browser),
// by starting the desktop's launcher, xdg-open, and watching how it ends: a
// launcher that fails ends with a non-zero status (xdg-open: 3 when it finds
// no program for the address), and `done` is told so. A launcher still running after
// `settleTime` has started a program that stays with the address (xdg-open
// on a desktop it does not know waits for it): that counts as opened. The
// launcher is never waited for; when Kesta quits while it runs, only the
// launcher ends, not the program it started. A failure is also logged. Main
// thread only.
class QtUrlOpener : public model::UrlOpener {
 public:
  QtUrlOpener();
  // Another launcher, or a shorter settle time, for tests.
  QtUrlOpener(QString launcher, std::chrono::milliseconds settleTime);

  void open(const std::string& url, Done done) override;

 private:
  QString launcher_;
  std::chrono::milliseconds settleTime_;
};

}  // namespace kesta::ui
