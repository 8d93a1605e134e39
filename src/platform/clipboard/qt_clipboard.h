#pragma once

#include <memory>
#include <string>

#include "platform/clipboard/clipboard.h"

class QObject;

namespace kesta {

// The desktop clipboard through Qt. Qt serves the clipboard from the thread
// of its event loop, so every call is carried out there; a caller on another
// thread waits for it. That thread must keep running its event loop while
// another application pastes from us.
class QtClipboard : public Clipboard {
 public:
  // Needs a running QGuiApplication; binds to its thread.
  QtClipboard();
  ~QtClipboard() override;
  QtClipboard(const QtClipboard&) = delete;
  QtClipboard& operator=(const QtClipboard&) = delete;

  // One item (the X clipboard holds one) with every format offered.
  ClipboardContents contents() override;
  void setText(const std::string& text) override;
  // The items' formats merged into the one item the X clipboard holds.
  void setContents(const ClipboardContents& contents) override;

 private:
  std::unique_ptr<QObject> home_;
};

}  // namespace kesta
