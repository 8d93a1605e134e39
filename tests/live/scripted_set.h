#pragma once

// A DJ set played on the stand-in rekordbox window and followed by the real
// live engine: real capture, real text recognition, real time. Shared by the
// end-to-end test, which asserts what happened, and bench_follow, which
// reports how long each load took to be confirmed.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "live/live_engine.h"
#include "platform/ocr/tesseract_recognizer.h"
#include "platform/time/clock.h"
#include "platform/x11/x11_window_system.h"
#include "reading/reading_fixtures.h"
#include "reading/screen_capture_source.h"
#include "reading/screen_permission.h"
#include "support/standin_rekordbox.h"

namespace kesta::test {

struct SetTrack {
  std::string id;  // empty: not in the library
  std::string title;
  std::string artist;
};

// Titles a DJ's collection might hold, chosen apart from each other so that
// each one names exactly one track.
inline const std::vector<SetTrack>& setTracks() {
  static const std::vector<SetTrack> tracks{
      {"101", "Midnight Signal", "Echo Unit"},
      {"102", "Golden Hour Drive", "Mira Lane"},
      {"103", "Paper Planes Over Tokyo", "North Coast"},
      {"104", "Velvet Thunder", "Kasimir Grey"},
      {"105", "Concrete Garden", "The Rooftop Society"},
      {"106", "Slow Burn Sunday", "Amber Wells"},
      {"107", "Electric Orchard", "Fennel and Stone"},
      {"108", "Northern Lights Express", "Polar Drift"},
      {"109", "Basement Cathedral", "Organ Grinder Club"},
      {"110", "Saltwater Memory", "Lisa Harbour"},
      {"111", "Neon Pilgrim", "Static Choir"},
      {"112", "Copper Moon Rising", "Desert Radio"},
      {"113", "Glasshouse Rhythm", "Tobias Wren"},
      {"114", "Kingdom of Small Hours", "Late Tram"},
  };
  return tracks;
}

// The same set with titles in Korean, Arabic, Hebrew and Thai, as an
// international collection holds them.
inline const std::vector<SetTrack>& scriptSetTracks() {
  static const std::vector<SetTrack> tracks{
      {"101", "서울의 밤", "김민준"},
      {"102", "طريق الحب (Club Edit)", "عمرو دياب"},
      {"103", "לילה בתל אביב", "עומר אדם"},
      {"104", "ทะเลดาว (Extended Mix)", "ปาล์มมี่"},
      {"105", "نور القمر", "محمد منير"},
      {"106", "שמש של חורף (Club Mix)", "נועה קירל"},
      {"107", "새벽 드라이브", "박지훈"},
      {"108", "ความรักสีชมพู", "ลุลา"},
      {"109", "رقصة الصحراء (Extended Mix)", "نانسي عجرم"},
      {"110", "אור של בוקר", "סטטיק"},
      {"111", "별빛 댄스 (Extended Mix)", "이서연"},
      {"112", "จังหวะหัวใจ", "โต๋ เศกพล"},
      {"113", "ليالي القاهرة", "فيروز الصغيرة"},
      {"114", "עוד פעם אחת", "מירי מסיקה"},
  };
  return tracks;
}

// A set from one library holding Japanese, Korean, Chinese, Arabic, Hebrew
// and Thai at once: half the titles with a version in Latin letters, and
// titles that begin in Latin letters and end in Arabic or Hebrew.
inline const std::vector<SetTrack>& everyScriptSetTracks() {
  static const std::vector<SetTrack> tracks{
      {"101", "渋谷の朝焼け (Club Edit)", "ユウキ"},
      {"102", "Cairo Nights ليالي القاهرة", "عمرو دياب"},
      {"103", "도시의 불빛", "이준호"},
      {"104", "גלים על הים (Club Edit)", "עידן רייכל"},
      {"105", "風中的約定", "蕭敬騰"},
      {"106", "ถนนยามเช้า (Club Edit)", "ลุลา"},
      {"107", "Tel Aviv Nights לילות תל אביב", "עומר אדם"},
      {"108", "夏の終わりに", "アオイ"},
      {"109", "파도 소리 (Original Mix)", "최지민"},
      {"110", "記憶碎片 (Club Mix)", "楊丞琳"},
      {"111", "Desert Wind ريح الصحراء", "حسين الجسمي"},
      {"112", "ความฝันสีฟ้า", "ต่าย อรทัย"},
      {"113", "שביל החלב", "אושר כהן"},
      {"114", "光と影 (Original Mix)", "タクミ"},
  };
  return tracks;
}

// Tracks the DJ plays that the library does not hold.
inline const SetTrack kUnlisted1{"", "Harbour Walls at Dusk", "Nobody Known"};
inline const SetTrack kUnlisted2{"", "Quiet Engine Room", "Unsigned Heroes"};
inline const SetTrack kScriptUnlisted1{"", "بحر الحنين", "عمر خيرت"};
inline const SetTrack kScriptUnlisted2{"", "꿈꾸는 도시", "신유나"};
inline const SetTrack kEveryScriptUnlisted1{"", "رقصة الفجر (Dub)", "محمد عبده"};
inline const SetTrack kEveryScriptUnlisted2{"", "바람의 노래", "서민재"};

inline const SetTrack& setTrack(const std::string& id, const std::vector<SetTrack>& tracks = setTracks()) {
  for (const auto& track : tracks)
    if (track.id == id) return track;
  throw std::out_of_range("no set track " + id);
}

inline Library setLibrary(const std::vector<SetTrack>& set = setTracks()) {
  std::vector<Track> tracks;
  for (const auto& t : set) tracks.push_back(libraryTrack(t.id, t.title, t.artist, 126.0, "8A"));
  return libraryOf(std::move(tracks));
}

inline nlohmann::json shownTrack(const SetTrack& track, double elapsed = 0) {
  return {{"title", track.title}, {"artist", track.artist}, {"bpm", "126.00"},
          {"key", "8A"},          {"duration", 420},        {"elapsed", elapsed}};
}

// One change the DJ makes: a load (track set) or an unload (none).
struct SetStep {
  int deck = 1;
  std::optional<SetTrack> track;
};

// The set after the two-deck start-up (deck 1 "101" playing, deck 2 "102"):
// ten changes on deck 2 while deck 1 plays on, then both decks in turn. Twenty
// loads, two of them of tracks not in the library, and three unloads.
inline std::vector<SetStep> setSteps(const std::vector<SetTrack>& tracks = setTracks(),
                                     const SetTrack& unlisted1 = kUnlisted1,
                                     const SetTrack& unlisted2 = kUnlisted2) {
  const auto load = [&](int deck, const std::string& id) { return SetStep{deck, setTrack(id, tracks)}; };
  return {load(2, "103"),
          load(2, "104"),
          SetStep{2, std::nullopt},
          load(2, "105"),
          SetStep{2, unlisted1},
          load(2, "106"),
          load(2, "107"),
          SetStep{2, std::nullopt},
          load(2, "108"),
          load(2, "109"),
          load(1, "110"),
          load(2, "111"),
          load(1, "112"),
          SetStep{1, std::nullopt},
          load(1, "113"),
          load(2, "102"),
          SetStep{2, unlisted2},
          load(1, "103"),
          load(2, "114"),
          load(1, "104"),
          load(2, "101"),
          load(1, "105"),
          load(2, "106")};
}

// Every update the engine hands over, with the clock time it arrived.
class UpdateLog {
 public:
  struct Entry {
    EngineUpdate update;
    double receivedAt = 0;
  };

  void add(EngineUpdate update) {
    {
      const std::lock_guard lock(mutex_);
      entries_.push_back({std::move(update), Clock::now()});
    }
    changed_.notify_all();
  }

  std::size_t size() const {
    const std::lock_guard lock(mutex_);
    return entries_.size();
  }

  std::vector<Entry> entries() const {
    const std::lock_guard lock(mutex_);
    return entries_;
  }

  // The first entry from `from` on that satisfies `wanted`, waiting up to
  // `limit` seconds for it.
  std::optional<std::pair<std::size_t, Entry>> waitFor(std::size_t from,
                                                       const std::function<bool(const EngineUpdate&)>& wanted,
                                                       double limit) {
    std::unique_lock lock(mutex_);
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(limit);
    for (;;) {
      for (std::size_t i = from; i < entries_.size(); ++i)
        if (wanted(entries_[i].update)) return std::pair{i, entries_[i]};
      from = entries_.size();
      if (changed_.wait_until(lock, until) == std::cv_status::timeout) {
        for (std::size_t i = from; i < entries_.size(); ++i)
          if (wanted(entries_[i].update)) return std::pair{i, entries_[i]};
        return std::nullopt;
      }
    }
  }

 private:
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Entry> entries_;
};

// The live engine as the app runs it, on the stand-in's display.
inline std::shared_ptr<LiveEngine> followingEngine(const std::string& display, const LibraryIndex& index) {
  LiveEngine::Parts parts;
  parts.source = std::make_unique<ScreenCaptureSource>(std::make_shared<X11WindowSystem>(display), Clock::now,
                                                       ScreenPermission::granted);
  parts.recognizer = std::make_shared<TesseractRecognizer>();
  parts.index = index;
  parts.songKeys = LiveEngine::songKeysOf(index);
  return LiveEngine::create(std::move(parts));
}

// Stops the engine and lets it go once its loop's thread has ended, so that
// nothing of it still runs when the display goes away.
inline void release(std::shared_ptr<LiveEngine>& engine) {
  if (!engine) return;
  engine->stopAndWait();
  engine.reset();
}

template <class Case>
bool hasEvent(const EngineUpdate& update, int deck) {
  for (const auto& event : update.events)
    if (const auto* e = event.as<Case>(); e && e->deck == deck) return true;
  return false;
}

// What the tracker should confirm for a step.
inline DeckContent expectedContent(const SetStep& step) {
  if (!step.track) return DeckContent::empty();
  return step.track->id.empty() ? DeckContent::unmatched("") : DeckContent::track(step.track->id);
}

// Same case, and for a library track the same id; unmatched text is whatever
// recognition made of the title.
inline bool sameContent(const DeckContent& seen, const DeckContent& expected) {
  if (expected.is<DeckContent::Unmatched>()) return seen.is<DeckContent::Unmatched>();
  return seen == expected;
}

// How one step went.
struct StepOutcome {
  SetStep step;
  double shownAt = 0;
  // The update with the step's load or unload event; none when it never came.
  std::optional<EngineUpdate> confirmation;
  double latency = 0;  // seconds from shown to handed over
};

// Shows the step on the stand-in and waits up to `limit` seconds for the
// engine to report its load or unload.
inline StepOutcome playStep(StandInRekordbox& window, UpdateLog& log, const SetStep& step, double limit) {
  const std::size_t from = log.size();
  StepOutcome outcome{step, 0, std::nullopt, 0};
  if (step.track)
    window.load(step.deck, shownTrack(*step.track));
  else
    window.send("clear " + std::to_string(step.deck));
  outcome.shownAt = Clock::now();
  const auto found = log.waitFor(
      from,
      [&](const EngineUpdate& update) {
        return step.track ? hasEvent<TrackerEvent::Load>(update, step.deck)
                          : hasEvent<TrackerEvent::Unload>(update, step.deck);
      },
      limit);
  if (found) {
    outcome.confirmation = found->second.update;
    outcome.latency = found->second.receivedAt - outcome.shownAt;
  }
  return outcome;
}

}  // namespace kesta::test
