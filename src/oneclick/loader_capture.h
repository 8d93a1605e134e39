#pragma once

#include <cstdint>
#include <vector>

#include "oneclick/text_box.h"
#include "platform/desktop/window_system.h"
#include "platform/image/geometry.h"
#include "platform/image/image.h"
#include "platform/ocr/text_recognizer.h"

// The loader's own look at rekordbox's window: one still image of the
// process's largest window, and the text of a region of it.
namespace kesta::LoaderCapture {

// Narrower windows are palettes and dialogs, never the main window.
inline constexpr double minimumWindowWidth = 700;
// Bounds the cost of recognising a look whatever the display.
inline constexpr int maximumImageWidth = 3600;
// Browser text is small; lower lines are noise.
inline constexpr float minimumTextHeight = 0.008f;

struct Shot {
  Image image;
  Rect frame;  // the window on screen after the picture was taken
};

// The largest shown window of process `pid` at least 700 wide (of equal
// areas the earlier listed), pictured at most 3600 pixels wide. Throws
// LoadError::windowNotVisible when there is none or it vanished meanwhile;
// WindowSystemError passes through.
Shot captureWindow(WindowSystem& windows, std::int32_t pid);

// The lines of `region` (fractions of the whole image) read fast and then
// accurately, both runs kept, with boxes in fractions of the whole window.
// An impossible crop gives no lines.
std::vector<TextBox> recognize(TextRecognizer& recognizer, const Image& image, const Rect& region,
                               RecognitionLanguages languages);

}  // namespace kesta::LoaderCapture
