#include "oneclick/browser_rows.h"

namespace kesta::test {

namespace {

const Track kStrobe = libraryTrack("1", "Strobe", "deadmau5", "8A", 128, 637);
const Track kStrobeCopy = libraryTrack("11", "Strobe", "deadmau5", "8A", 128, 637);
const Track kStrobeEdit = libraryTrack("12", "Strobe (Club Edit)", "deadmau5");
const Track kMidnight = libraryTrack("3", "Midnight City (Extended Mix)", "M83");
const Track kChildren = libraryTrack("4", "Children Of The Night", "Nakadia");
const Track kBreathe = libraryTrack("5", "Breathe", "Lane 8");
const Track kBreatheProdigy = libraryTrack("51", "Breathe", "The Prodigy");
const Track kSunrise = libraryTrack("6", "Sunrise", "Joris Voorn");
const Track kSunriseNorah = libraryTrack("61", "Sunrise", "Norah Jones");
const Track kHigher = libraryTrack("7", "Higher Ground", "Odesza");
const Track kHigherS = libraryTrack("8", "Higher Grounds", "Rudimental");
const Track kLevels = libraryTrack("9", "Levels", "Avicii");
const Track kLevelsNick = libraryTrack("10", "Levels", "Nick Jonas");

const std::vector<Track> kMixed = {kStrobe,       kMidnight, kChildren,   kBreathe, kBreatheProdigy, kSunrise,
                                   kSunriseNorah, kLevels,   kLevelsNick, kHigher,  kHigherS};
const std::vector<Track> kDuplicates = {kStrobe, kStrobeCopy};
const std::vector<Track> kWithLonger = {kStrobe, kStrobeEdit};

}  // namespace

const std::vector<BrowserScene>& browserScenes() {
  static const std::vector<BrowserScene> scenes = {
      // Whole cells.
      {"title and artist as listed",
       kMixed,
       kStrobe,
       {{"Ghosts n Stuff", "deadmau5"}, {"Strobe", "deadmau5", "128.00", "8A", "10:37"}},
       pickRow(1)},
      {"artist read with 0 for o",
       kMixed,
       kSunrise,
       {{"Sunrise", "Norah Jones"}, {"Sunrise", "J0ris V00rn"}},
       pickRow(1)},
      {"artist read with 1 for l",
       kMixed,
       kBreathe,
       {{"Breathe", "The Prodigy"}, {"Breathe", "1ane 8"}},
       pickRow(1)},
      {"another version of the title is dropped",
       kMixed,
       kLevels,
       {{"Levels", "Nick Jonas", "126.00"}, {"Levels", "Avicii", "126.00"}},
       pickRow(1)},
      {"only another version listed", kMixed, kLevels, {{"Levels", "Nick Jonas"}}, pickNothing()},
      {"a distinctive title alone on its row", kMixed, kStrobe, {{"Strobe"}}, pickRow(0)},
      {"a shared title alone on its row", kMixed, kLevels, {{"Levels"}}, pickNothing()},
      {"the title nowhere in the results", kMixed, kStrobe, {{"Ghosts n Stuff", "deadmau5"}}, pickNothing()},
      // Shortened and merged titles.
      {"ellipsis after six characters", kMixed, kMidnight, {{"Midnig\u2026", "M83"}}, pickRow(0)},
      {"ellipsis after five characters", kMixed, kMidnight, {{"Midni\u2026", "M83"}}, pickNothing()},
      {"three dots", kMixed, kMidnight, {{"Midnight Ci...", "M83"}}, pickRow(0)},
      {"clipped without the artist", kMixed, kChildren, {{"Children Of The Ni"}}, pickNothing()},
      {"clipped with the artist", kMixed, kChildren, {{"Children Of The Ni", "Nakadia"}}, pickRow(0)},
      {"clipped through a half-drawn letter",
       kMixed,
       kChildren,
       {{"Children Of The Nl", "Nakadia"}},
       pickRow(0)},
      {"clipped title merged with the artist",
       kMixed,
       kChildren,
       {{"Children Of The NiNakadia"}},
       pickRow(0)},
      {"whole title merged with the artist", kMixed, kStrobe, {{"Strobe deadmau5"}}, pickRow(0)},
      {"another song's exact title, though similar",
       kMixed,
       kHigher,
       {{"Higher Grounds", "Odesza"}},
       pickNothing()},
      {"one recognition error in the title", kMixed, kHigher, {{"Hlgher Ground", "Odesza"}}, pickRow(0)},
      // Several rows of one song.
      {"duplicates showing everything: the topmost",
       kDuplicates,
       kStrobe,
       {{"Strobe", "deadmau5", "128.00", "8A", "10:37"}, {"Strobe", "deadmau5", "128.00", "8A", "10:37"}},
       pickRow(0)},
      {"duplicates without durations",
       kDuplicates,
       kStrobe,
       {{"Strobe", "deadmau5", "128.00", "8A"}, {"Strobe", "deadmau5", "128.00", "8A"}},
       pickAmbiguous(2)},
      {"duplicates told apart by key",
       kDuplicates,
       kStrobe,
       {{"Strobe", "deadmau5", "128.00", "5A"}, {"Strobe", "deadmau5", "128.00", "8A"}},
       pickRow(1)},
      {"title not distinctive, no artist on either row",
       kWithLonger,
       kStrobe,
       {{"Strobe"}, {"Strobe"}},
       pickNothing()},
      {"title not distinctive, artist on both rows",
       kWithLonger,
       kStrobe,
       {{"Strobe", "deadmau5", "", "8A", "10:37"}, {"Strobe", "deadmau5", "", "8A", "10:37"}},
       pickRow(0)},
      {"the strong artist row wins",
       kDuplicates,
       kStrobe,
       {{"Strobe", "deadmaus"}, {"Strobe", "deadmau5"}},
       pickRow(1)},
      {"clipped rows are not known to be the song",
       {kChildren},
       kChildren,
       {{"Children Of The Ni", "Nakad"}, {"Children Of The Nig", "Nakadi"}},
       pickAmbiguous(2)},
  };
  return scenes;
}

}  // namespace kesta::test
