#include "model/version_label.h"

#include <gtest/gtest.h>

#include <set>

#include "reading/reading_fixtures.h"

namespace kesta::model {
namespace {

// A label without the marks that set its names apart in their direction:
// what the DJ reads.
std::string unmarked(std::string text) {
  for (const std::string mark : {"\u2068", "\u2069"}) {
    for (std::size_t at = text.find(mark); at != std::string::npos; at = text.find(mark))
      text.erase(at, mark.size());
  }
  return text;
}

Track version(std::string title, std::string artist, double bpm, std::string key, int seconds = 360) {
  Track track = test::libraryTrack("id", std::move(title), std::move(artist), bpm, std::move(key));
  track.durationSeconds = seconds;
  return track;
}

struct LabelCase {
  const char* name;
  std::vector<Track> candidates;
  std::vector<std::string> shown;
};

TEST(VersionLabel, ShowsWhatSetsTheVersionsApart) {
  const LabelCase cases[] = {
      {"the mix in the title",
       {version("Innerbloom (Extended Mix)", "RÜFÜS DU SOL", 120, "4A"),
        version("Innerbloom (Radio Edit)", "RÜFÜS DU SOL", 120, "4A")},
       {"(Extended Mix) · 120", "(Radio Edit) · 120"}},
      {"a shared bracket does not split a word",
       {version("Opus (Extended)", "Eric Prydz", 126, "7A"), version("Opus (Edit)", "Eric Prydz", 126, "7A")},
       {"(Extended) · 126", "(Edit) · 126"}},
      {"a title that is only the shared words stays whole",
       {version("Cola", "CamelPhat", 124, "8A"),
        version("Cola - Robin Schulz Remix", "CamelPhat", 124, "8A")},
       {"Cola · 124", "Robin Schulz Remix · 124"}},
      {"same titles: the artist and the tempo",
       {version("Innerbloom", "RÜFÜS DU SOL", 120, "4A"), version("Innerbloom", "RÜFÜS DU SOL", 122, "4A")},
       {"RÜFÜS DU SOL · 120", "RÜFÜS DU SOL · 122"}},
      {"the key when the tempo is the same",
       {version("Strobe", "deadmau5", 128, "8A"), version("Strobe", "deadmau5", 128, "9A")},
       {"deadmau5 · 128 · 8A", "deadmau5 · 128 · 9A"}},
      {"the length when tempo and key are the same",
       {version("Strobe", "deadmau5", 128, "8A", 634), version("Strobe", "deadmau5", 128, "8A", 205)},
       {"deadmau5 · 128 · 10:34", "deadmau5 · 128 · 3:25"}},
      {"numbered copies of alike entries, the others as they are",
       {version("Velvet Thunder", "Kasimir Grey", 124, "8A"),
        version("Velvet Thunder", "Kasimir Grey", 124, "8A"),
        version("Velvet Thunder", "Kasimir Grey", 126, "9A")},
       {"Kasimir Grey · 124 · copy 1", "Kasimir Grey · 124 · copy 2", "Kasimir Grey · 126"}},
      {"a part is added only where it parts a tie",
       {version("Levels", "Avicii", 126, "5A"), version("Levels", "Avicii", 126, "5A", 400),
        version("Levels", "Avicii", 128, "6A")},
       {"Avicii · 126 · 6:00", "Avicii · 126 · 6:40", "Avicii · 128 · 6:00"}},
  };
  for (const LabelCase& c : cases) {
    std::vector<std::string> shown;
    for (const VersionLabel& label : versionLabels(c.candidates)) shown.push_back(unmarked(label.text()));
    EXPECT_EQ(shown, c.shown) << c.name;
  }
}

TEST(VersionLabel, TheTempoAndWhatFollowsItAreTheKeptTail) {
  const auto labels = versionLabels(
      {version("Opus (Extended)", "Eric Prydz", 126, "7A"), version("Opus (Edit)", "Eric Prydz", 126, "8A")});
  ASSERT_EQ(labels.size(), 2u);
  EXPECT_EQ(labels[0].lead, "\u2068(Extended)\u2069");
  EXPECT_EQ(labels[0].tail, " · 126");
}

TEST(VersionLabel, NoTwoLabelsReadTheSame) {
  const std::vector<Track> alike{version("Song", "A", 124, "8A"), version("Song", "A", 124, "8A"),
                                 version("Song (Dub)", "A", 124, "8A"), version("Song", "B", 124, "8A"),
                                 version("Song", "A", 124, "8A", 0)};
  const auto labels = versionLabels(alike);
  std::set<std::string> texts;
  for (const VersionLabel& label : labels) texts.insert(label.text());
  EXPECT_EQ(texts.size(), alike.size());
  EXPECT_EQ(unmarked(labels[3].text()), "Song · 124 · B · 6:00");
  EXPECT_TRUE(versionLabels({}).empty());
}

}  // namespace
}  // namespace kesta::model
