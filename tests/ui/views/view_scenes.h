#pragma once

#include <functional>
#include <string>
#include <system_error>
#include <vector>

#include "model/store_notice.h"
#include "ui/views/view_stage.h"

namespace kesta::test {
using namespace kesta::ui;

// A library file name of 80 characters.
inline const std::string kLongFileName =
    "rekordbox-collection-export-for-the-saturday-residency-at-the-warehouse-2026.xml";

// One state of the model that both windows are shown in: for the gallery's
// pictures and for the layout checks, which must agree.
struct Scene {
  std::string name;
  bool screenGranted = true;
  std::function<void(ViewStage&)> setUp;
};

inline void liveOnLongTitle(ViewStage& stage) {
  stage.install(stageLibrary(kLongFileName), Date::fromUnixSeconds(1'779'900'000));
  stage.loader->authorized = false;
  stage.model().setOneClickLoad(true);
  stage.connect();
  stage.deliver({DeckContent::track("6"), DeckContent::track("2")}, 1, TrackerPhase::following,
                ReaderHealth::reading(),
                {TrackerEvent::load(1, DeckContent::track("6"), DeckContent::empty(), 999.2)});
  if (const auto track = stage.model().currentTrack()) stage.model().rate(*track, 3);
  stage.finishWork();
}

// A library in many scripts, following a right-to-left artist on deck 1.
inline void liveInManyScripts(ViewStage& stage) {
  using kesta::test::libraryTrack;
  Library library = kesta::test::libraryOf({
      libraryTrack("1", "ليالي الفضي في القاهرة (Club Edit)", "فيروز الصغيرة", 124.0, "8A"),
      libraryTrack("2", "東京ナイト (Extended Mix)", "坂本 リョウ", 124.0, "8A"),
      libraryTrack("3", "서울의 밤", "김하늘", 125.0, "9A"),
      libraryTrack("4", "Fire 🔥 Dancefloor 💃", "DJ Émoji", 126.0, "8A"),
      libraryTrack("5", "Ночной город", "Ёлка", 123.0, "7A"),
      libraryTrack("6", "น้ำตา ค่ำคืนที่กรุงเทพ", "ปาล์มมี่", 128.0, "9A"),
      libraryTrack("7", "שיר לשלום", "להקת הנח״ל", 118.0, "8A"),
      libraryTrack("8", "直到世界尽头", "陈奕迅", 116.0, "7A"),
      libraryTrack("9", "दिल से रे", "ए. आर. रहमान", 127.0, "8A"),
      libraryTrack("10", "Νύχτα στην πόλη", "Άννα Βίσση", 132.0, "11B"),
  });
  library.playlists = {Playlist{"00000000000000b1", "東京 Warm-up", {}, {"1", "2", "3"}},
                       Playlist{"00000000000000b2", "ערב שישי", {}, {"4", "5", "6", "7"}}};
  library.report.totalEntries = 10;
  library.report.recommendable = 10;
  library.report.playlists = 2;
  stage.install(std::move(library), Date::fromUnixSeconds(1'779'900'000));
  stage.loader->authorized = false;
  stage.model().setOneClickLoad(true);
  stage.connect();
  stage.deliver({DeckContent::track("1"), DeckContent::track("6")}, 1, TrackerPhase::following,
                ReaderHealth::reading(),
                {TrackerEvent::load(1, DeckContent::track("1"), DeckContent::empty(), 999.2)});
  stage.finishWork();
}

// A followed track whose suggestions carry long reasons (key changes,
// energy steps, another genre) beside long artist names.
inline Library longReasonLibrary() {
  using kesta::test::libraryTrack;
  const auto track = [](std::string id, std::string title, std::string artist, double bpm, std::string key,
                        int energy, std::string genre) {
    Track out = libraryTrack(std::move(id), std::move(title), std::move(artist), bpm, std::move(key));
    out.energy = energy;
    out.genre = std::move(genre);
    out.durationSeconds = 420;
    return out;
  };
  Library library = kesta::test::libraryOf({
      track("1", "Velvet Thunder", "Kasimir Grey", 124, "8A", 5, "House"),
      track("2", "Harbour Lights Over The Northern Sea", "Mara Lind featuring Dune Pilots", 124.5, "9A", 6,
            "House"),
      track("3", "Rise Up Slowly", "A Collective Of Far Too Many Featured Artists", 126.5, "8A", 8, "House"),
      track("4", "Soft Landing", "Halcyon Rae with June Harlow and Friends", 120.5, "7A", 3, "House"),
      track("5", "Broken Compass", "The Vagrants of Every Northern Town", 124.5, "11A", 6,
            "Melodic House & Techno"),
  });
  library.report.totalEntries = 5;
  library.report.recommendable = 5;
  return library;
}

inline std::vector<Scene> viewScenes() {
  return {
      {"empty", true, [](ViewStage&) {}},
      {"legacy", true,
       [](ViewStage& stage) {
         LegacyData legacy;
         legacy.sets = {DJSet::started(Date::fromUnixSeconds(1'700'000'000)),
                        DJSet::started(Date::fromUnixSeconds(1'700'100'000))};
         stage.model().finishRestore(std::nullopt, legacy);
         stage.finishWork();
       }},
      {"ready", true,
       [](ViewStage& stage) { stage.install(stageLibrary(), Date::fromUnixSeconds(1'779'900'000)); }},
      {"permission", false, [](ViewStage& stage) { stage.install(); }},
      {"reopen", false,
       [](ViewStage& stage) {
         stage.install();
         stage.model().requestScreenPermission();
       }},
      {"reopen_empty", false, [](ViewStage& stage) { stage.model().requestScreenPermission(); }},
      {"live", true, liveOnLongTitle},
      {"live_scripts", true, liveInManyScripts},
      {"live_loading", true,
       [](ViewStage& stage) {
         liveOnLongTitle(stage);
         if (const auto groove = stage.model().suggestion(Lane::groove)) {
           stage.model().setLoadStatus(model::LoadStatus::loading(groove->track.id, 2));
         }
       }},
      {"live_undo", true,
       [](ViewStage& stage) {
         liveOnLongTitle(stage);
         stage.model().setLoadStatus(model::LoadStatus::done(
             "Deck 2 got Levels, not " + kLongTitle + ". Undo it? rekordbox's own Undo works too.", true));
       }},
      {"save_failed", true,
       [](ViewStage& stage) {
         liveOnLongTitle(stage);
         const model::StoreNotice notice =
             model::storeNotice({StoreProblem::Kind::saveFailed, "userdata.json",
                                 std::make_error_code(std::errc::permission_denied)});
         stage.model().show(notice.text, notice.shortText, notice.seconds);
       }},
      {"long_reasons", true,
       [](ViewStage& stage) {
         stage.install(longReasonLibrary());
         stage.connect();
         stage.deliver({DeckContent::track("1"), DeckContent::empty()}, 1, TrackerPhase::following,
                       ReaderHealth::reading(),
                       {TrackerEvent::load(1, DeckContent::track("1"), DeckContent::empty(), 999.2)});
         stage.finishWork();
       }},
      {"problem", true,
       [](ViewStage& stage) {
         stage.install();
         stage.connect();
         stage.deliver({DeckContent::track("1"), DeckContent::unknown()}, 1, TrackerPhase::following,
                       ReaderHealth::cannotSeeDecks(12));
       }},
      {"startup", true,
       [](ViewStage& stage) {
         stage.install();
         stage.connect();
         stage.deliver({DeckContent::track("6"), DeckContent::track("2")}, 0, TrackerPhase::ambiguousStartup);
       }},
      {"versions", true,
       [](ViewStage& stage) {
         stage.install();
         stage.connect();
         stage.deliver({DeckContent::ambiguous({"7", "8"}), DeckContent::unmatched("Someth1ng")}, 1);
       }},
      {"versions_many", true,
       [](ViewStage& stage) {
         stage.install();
         stage.connect();
         stage.deliver({DeckContent::ambiguous({"6", "1", "2", "3", "4"}), DeckContent::empty()}, 1);
       }},
  };
}

// The scene named `name`; the first scene when none is.
inline Scene scene(const std::string& name) {
  for (Scene& candidate : viewScenes()) {
    if (candidate.name == name) return candidate;
  }
  return viewScenes().front();
}

}  // namespace kesta::test
