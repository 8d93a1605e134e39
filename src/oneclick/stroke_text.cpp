#include "oneclick/stroke_text.h"

#include <array>
#include <cstdint>

namespace kesta {

namespace {

struct KeyName {
  std::uint16_t code;  // as in RekordboxKeys
  const char* name;
};

constexpr std::array<KeyName, 6> kNames{{
    {0, "A"},
    {3, "F"},
    {6, "Z"},
    {9, "V"},
    {123, "Left"},
    {124, "Right"},
}};

}  // namespace

std::string strokeText(const RekordboxKeys::Stroke& stroke) {
  std::string text;
  if (stroke.command || stroke.control) text += "Ctrl+";
  if (stroke.shift) text += "Shift+";
  for (const KeyName& key : kNames) {
    if (key.code == stroke.key) return text + key.name;
  }
  return text + "?";
}

}  // namespace kesta
