#include "platform/text/readout_text.h"

#include "platform/text/regex.h"

namespace kesta::readout {

namespace {

// A signed or unsigned tempo or change value with optional decimals and "%",
// or a placeholder of dashes.
const Regex& numberReadout() {
  static const Regex pattern(R"(^([+\-]\d{1,3}([.,]\d{1,2})?%?|\d{1,3}[.,]\d{1,2}%?|\d{1,3}%|-+[.,:]?-*)$)");
  return pattern;
}

const Regex& camelotReadout() {
  static const Regex pattern(R"(^(1[0-2]|[1-9])[ABab]$)");
  return pattern;
}

const Regex& minorKeyReadout() {
  static const Regex pattern(R"(^[A-G][#b♯♭]?m$)");
  return pattern;
}

const Regex& clockReadout() {
  static const Regex pattern(R"(^-?\d{1,3}:\d{2}([.,]\d)?$)");
  return pattern;
}

}  // namespace

bool isMetadata(std::string_view text) {
  return numberReadout().search(text) || camelotReadout().search(text) || minorKeyReadout().search(text);
}

bool isClock(std::string_view text) { return clockReadout().search(text); }

}  // namespace kesta::readout
