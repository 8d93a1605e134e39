#pragma once

#include <string>
#include <utility>
#include <vector>

#include "model/ports/url_opener.h"

namespace kesta::test {
using namespace kesta::model;

// Records each address; the handler's outcome comes only when the test calls
// `answer`, as a launcher's end would come later.
class FakeUrlOpener : public UrlOpener {
 public:
  void open(const std::string& url, Done done) override {
    opened.push_back(url);
    waiting.push_back(std::move(done));
  }
  // Ends every opening still waiting: `taken`, whether a handler took it.
  void answer(bool taken) {
    for (Done& done : std::exchange(waiting, {})) {
      if (done) done(taken);
    }
  }
  std::vector<std::string> opened;
  std::vector<Done> waiting;
};

}  // namespace kesta::test
