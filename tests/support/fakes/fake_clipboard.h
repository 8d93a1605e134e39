#pragma once

#include <string>
#include <vector>

#include "platform/clipboard/clipboard.h"

namespace kesta {

// A clipboard for tests: plain contents and a record of every text set.
class FakeClipboard : public Clipboard {
 public:
  static constexpr const char* textFormat = "text/plain";

  ClipboardContents held;
  std::vector<std::string> textsSet;

  ClipboardContents contents() override { return held; }
  void setText(const std::string& text) override {
    textsSet.push_back(text);
    held = {ClipboardItem{{textFormat, std::vector<std::uint8_t>(text.begin(), text.end())}}};
  }
  void setContents(const ClipboardContents& contents) override { held = contents; }
};

}  // namespace kesta
