#include "reading/capture_error.h"

#include <charconv>

#include "platform/text/unicode_text.h"

namespace kesta {

namespace {

std::string fullText(CaptureError::Kind kind, const std::string& message) {
  switch (kind) {
    case CaptureError::Kind::captureFailed:
      return "Kesta couldn't capture the rekordbox window (" + message + "). It will keep retrying.";
    case CaptureError::Kind::permissionNeeded:
      return "Kesta needs Screen Recording permission to read rekordbox's deck titles. Open System Settings "
             "\u203A Privacy & Security \u203A Screen & System Audio Recording, turn on Kesta Live Beta, "
             "then quit "
             "and reopen Kesta.";
    case CaptureError::Kind::rekordboxNotRunning:
      return "rekordbox isn't open. Open rekordbox, then press Connect.";
    case CaptureError::Kind::windowNotVisible:
      return "rekordbox is open but its main window isn't visible on this computer's screens (minimized, "
             "hidden or on another workspace). Bring it into view.";
  }
  return {};
}

// A text as a double-quoted literal: quotes, backslashes and control
// characters escaped, everything else as it is.
std::string quoted(const std::string& text) {
  std::string out = "\"";
  for (const char32_t c : unicode::toScalars(text)) {
    switch (c) {
      case U'"':
        out += "\\\"";
        break;
      case U'\\':
        out += "\\\\";
        break;
      case U'\n':
        out += "\\n";
        break;
      case U'\r':
        out += "\\r";
        break;
      case U'\t':
        out += "\\t";
        break;
      case U'\0':
        out += "\\0";
        break;
      default:
        if (c < 0x20 || c == 0x7F) {
          char hex[8];
          const auto end = std::to_chars(hex, hex + sizeof hex, unsigned(c), 16).ptr;
          out += "\\u{" + std::string(hex, end) + "}";
        } else {
          unicode::appendScalar(out, c);
        }
    }
  }
  return out + "\"";
}

}  // namespace

CaptureError::CaptureError(Kind kind, std::string message)
    : kind_(kind), message_(std::move(message)), description_(fullText(kind_, message_)) {}

std::string CaptureError::shortDescription() const {
  switch (kind_) {
    case Kind::captureFailed:
      return "Couldn't capture rekordbox. Retrying\u2026";
    case Kind::permissionNeeded:
      return "Needs Screen Recording permission (see Full).";
    case Kind::rekordboxNotRunning:
      return "rekordbox isn't open.";
    case Kind::windowNotVisible:
      return "rekordbox's window isn't in view.";
  }
  return {};
}

std::string CaptureError::debugDescription() const {
  switch (kind_) {
    case Kind::captureFailed:
      return "captureFailed(" + quoted(message_) + ")";
    case Kind::permissionNeeded:
      return "permissionNeeded";
    case Kind::rekordboxNotRunning:
      return "rekordboxNotRunning";
    case Kind::windowNotVisible:
      return "windowNotVisible";
  }
  return {};
}

}  // namespace kesta
