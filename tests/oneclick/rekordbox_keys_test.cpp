#include "oneclick/rekordbox_keys.h"

#include <gtest/gtest.h>

#include "oneclick/stroke_text.h"

namespace kesta {
namespace {

using RekordboxKeys::Stroke;

struct StrokeCase {
  const char* name;
  Stroke stroke;
  Stroke expected;
};

TEST(RekordboxKeys, StrokesAreRekordboxDefaults) {
  const StrokeCase cases[] = {
      {"search is Control-F", RekordboxKeys::search, {3, false, false, true}},
      {"selectAll is Command-A", RekordboxKeys::selectAll, {0, false, true, false}},
      {"paste is Command-V", RekordboxKeys::paste, {9, false, true, false}},
      {"undoLoad is Command-Z", RekordboxKeys::undoLoad, {6, false, true, false}},
      {"deck 1 is Shift-Left", RekordboxKeys::load(1), {123, true, false, false}},
      {"deck 2 is Shift-Right", RekordboxKeys::load(2), {124, true, false, false}},
      {"deck 0 is Shift-Right", RekordboxKeys::load(0), {124, true, false, false}},
      {"deck 3 is Shift-Right", RekordboxKeys::load(3), {124, true, false, false}},
      {"deck -1 is Shift-Right", RekordboxKeys::load(-1), {124, true, false, false}},
  };
  for (const auto& c : cases) EXPECT_EQ(c.stroke, c.expected) << c.name;
}

TEST(RekordboxKeys, StrokesAreEqualOnlyWhenEveryFieldIs) {
  const Stroke base{9, false, true, false};
  EXPECT_EQ(base, (Stroke{9, false, true, false}));
  EXPECT_NE(base, (Stroke{8, false, true, false}));
  EXPECT_NE(base, (Stroke{9, true, true, false}));
  EXPECT_NE(base, (Stroke{9, false, false, false}));
  EXPECT_NE(base, (Stroke{9, false, true, true}));
}

TEST(RekordboxKeys, StrokesReadAsThisPlatformTypesThem) {
  const std::pair<Stroke, const char*> cases[] = {
      {RekordboxKeys::undoLoad, "Ctrl+Z"},     {RekordboxKeys::search, "Ctrl+F"},
      {RekordboxKeys::paste, "Ctrl+V"},        {RekordboxKeys::load(1), "Shift+Left"},
      {RekordboxKeys::load(2), "Shift+Right"}, {Stroke{.key = 200}, "?"},
  };
  for (const auto& [stroke, text] : cases) EXPECT_EQ(strokeText(stroke), text) << text;
}

}  // namespace
}  // namespace kesta
