#pragma once

#include <cstdint>
#include <string>

#include "platform/ocr/text_recognizer.h"
#include "platform/x11/x11_window_system.h"

namespace kesta::test {

// The text of a shown window, recognised at twice its size, a line at a time;
// empty when the window could not be captured.
std::string readWindow(X11WindowSystem& windows, TextRecognizer& recognizer, std::uint32_t window);

}  // namespace kesta::test
