#include <gtest/gtest.h>

#include <string>

#include "model/card_header.h"
#include "model/deck_text.h"
#include "model/lane_row_text.h"
#include "model/now_playing_text.h"
#include "model/pool_label.h"
#include "model/version_label.h"
#include "view_snapshots.h"

namespace kesta::model {
namespace {

const std::string kArtist = "فيروز الصغيرة";
const std::string kTitle = "طريق الحب";

// A name as the views must show it beside Kesta's own text.
std::string isolated(const std::string& name) { return "\u2068" + name + "\u2069"; }

// Connected and following a right-to-left track on Deck 1.
ViewSnapshot followingArabic() {
  ViewSnapshot s = test::followingStrobe();
  const Track track = test::libraryTrack("1", kTitle, kArtist, 124.0, "8A");
  s.decks[0].track = track;
  s.currentTrack = track;
  return s;
}

// Every line that joins a name from the library with Kesta's own words, in
// each view: the name is set apart in its own direction, so the tempo's sign
// and number stay where they were written. A name alone on its line is left
// as it is.
TEST(IsolatedNames, EveryNameBesideKestasTextIsSetApart) {
  ViewSnapshot s = followingArabic();
  s.lanes[0].shown = test::suggestionOf(Lane::groove, *s.currentTrack, "-0.8% tempo · same key");
  const LaneRowText full = laneRowText(s, Lane::groove, RowForm::full);
  const LaneRowText card = laneRowText(s, Lane::groove, RowForm::card);

  Library library;
  const std::vector<PoolChoice> choices = {{"playlist:1", "שירים", 1}};

  std::vector<Track> sameTitle = {test::libraryTrack("1", kTitle, kArtist, 124.0),
                                  test::libraryTrack("2", kTitle, "Mara Lind", 126.0)};
  std::vector<Track> twoMixes = {test::libraryTrack("1", kTitle + " (Club Edit)", kArtist, 124.0),
                                 test::libraryTrack("2", kTitle + " (Extended Mix)", "Mara Lind", 124.0)};

  const struct {
    const char* line;
    std::string shown;
    std::string expected;
  } cases[] = {
      {"lane row detail", full.detail, isolated(kArtist) + " · -0.8% tempo · same key"},
      {"lane row title alone", full.title, kTitle},
      {"card lane artist alone", card.detail, kArtist},
      {"deck card meta", deckText(s, 1).meta, isolated(kArtist) + " · 124 BPM · 8A"},
      {"now playing read-out", nowPlayingText(s).readout, isolated(kArtist) + " · 124 BPM · 8A · Deck 1"},
      {"card header", cardHeader(s).subtitle, "Deck 1 · " + isolated(kArtist) + " · 124 BPM · 8A"},
      {"pool button", poolLabel(library, "playlist:1", choices), isolated("שירים") + " · 1"},
      {"version by artist", versionLabels(sameTitle)[0].text(), isolated(kArtist) + " · 124"},
      {"version by mix", versionLabels(twoMixes)[0].text(), isolated("(Club Edit)") + " · 124"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.shown, c.expected) << c.line;
}

}  // namespace
}  // namespace kesta::model
