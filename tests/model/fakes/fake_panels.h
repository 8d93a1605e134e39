#pragma once

#include <deque>
#include <filesystem>
#include <optional>
#include <vector>

#include "model/ports/panels.h"

namespace kesta::test {
using namespace kesta::model;

// Answers each panel with the next queued answer (cancelled when none is
// queued) and records what was asked.
class FakePanels : public Panels {
 public:
  std::optional<std::filesystem::path> chooseFile(const OpenPanelRequest& request) override {
    openRequests.push_back(request);
    return next();
  }
  std::optional<std::filesystem::path> chooseSaveLocation(const SavePanelRequest& request) override {
    saveRequests.push_back(request);
    return next();
  }

  std::deque<std::optional<std::filesystem::path>> answers;
  std::vector<OpenPanelRequest> openRequests;
  std::vector<SavePanelRequest> saveRequests;

 private:
  std::optional<std::filesystem::path> next() {
    if (answers.empty()) return std::nullopt;
    auto answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

}  // namespace kesta::test
