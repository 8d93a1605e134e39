#pragma once

#include <array>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>
#include <unordered_map>

#include "live/deck_motion_tracker.h"
#include "live/engine_update.h"
#include "live/load_tracker.h"
#include "platform/ocr/text_recognizer.h"
#include "platform/time/timing.h"
#include "reading/capture_error.h"
#include "reading/deck_text_extractor.h"
#include "reading/frame_source.h"
#include "reading/library_index.h"
#include "reading/mixer_reader.h"

namespace kesta {

// Watches rekordbox while the user is connected: a scan loop on its own
// thread captures the window about four times a second, reads both decks and
// the mixer, runs the load tracker and hands one EngineUpdate per scan to the
// app. Every scan and every call is serialised on the engine, so a user call
// falls between two scans, never inside one.
//
// Made with `create`: the loop holds the engine only while it scans, and the
// engine may be released from any thread, the loop's own included. Releasing
// it ends the loop; from another thread it also waits for the loop's thread.
//
// The library's index and song keys are shared with the app model, never
// copied: handing them over costs a pointer copy, and the engine's tracker
// starts again from the same map at each start.
class LiveEngine : public std::enable_shared_from_this<LiveEngine> {
 public:
  struct Config {
    double period = 0.25;          // wanted time from one scan start to the next
    double minimumGap = 0.06;      // shortest pause after an update was handed over
    double unreadableGrace = 3.0;  // how long both decks may be unreadable before the health says so
  };

  // Time as the engine sees it; tests replace it to run in virtual time.
  using Timing = kesta::Timing;

  using SongKeys = LoadTracker::SongKeys;
  using SharedSongKeys = LoadTracker::SharedSongKeys;
  // Called on the loop's thread; the loop goes on only after it returns, so
  // updates never queue up.
  using OnUpdate = std::function<void(EngineUpdate)>;

  struct Parts {
    std::unique_ptr<FrameSource> source;
    std::shared_ptr<TextRecognizer> recognizer;
    LibraryIndex index;
    SharedSongKeys songKeys = LoadTracker::noSongKeys();  // for every id of the index; never null
    DeckTextExtractor::Config extractorConfig{};
    Config config{};
    Timing timing = Timing::real();
  };

  static std::shared_ptr<LiveEngine> create(Parts parts);
  ~LiveEngine();
  LiveEngine(const LiveEngine&) = delete;
  LiveEngine& operator=(const LiveEngine&) = delete;

  void setIncludeRawText(bool include);
  // A new library: the tracker starts again from nothing.
  void replaceLibrary(LibraryIndex index, SharedSongKeys songKeys);
  // Starts (or restarts) the scan loop and returns once it runs. A loop
  // already running is ended first and, unless this is its own thread,
  // waited for.
  void start(OnUpdate onUpdate);
  // Ends the loop at its next check; waits for nothing, so it may be called
  // from inside `onUpdate`. After it at most one more update arrives.
  void stop();
  // Ends the loop and returns once its thread has ended (at once when called
  // on that thread). An `onUpdate` in progress must be able to return.
  void stopAndWait();
  // Whether a loop thread was started and has not been waited for yet.
  bool hasLoopThread() const;
  // The picture of both deck areas; connects first when needed. Throws what
  // the frame source throws.
  std::optional<Image> deckView();
  // Whether the deck is stopped right now, judged on a fresh capture; none
  // when that cannot be told.
  std::optional<bool> confirmStopped(int deck);
  std::optional<Focus> chooseDeck(int deck, FocusKind kind = FocusKind::userChoice);
  std::optional<Focus> resolve(int deck, const std::string& trackID);

  // One scan; the loop calls it. Public so that benchmarks can drive scans.
  EngineUpdate scanOnce(double startedAt);

  // The song keys of every id of the index, built once per library (the work
  // grows with it: not for the main thread). Of entries sharing an id, the one
  // the index answers for that id is keyed.
  static SharedSongKeys songKeysOf(const LibraryIndex& index);

  // An event's line in the scan record ("load d2 empty→track").
  static std::string describe(const TrackerEvent& event);

 private:
  explicit LiveEngine(Parts parts);

  static void runLoop(std::weak_ptr<LiveEngine> engine, std::stop_token stop, OnUpdate onUpdate,
                      Config config, Timing timing);

  EngineUpdate outcome(ScanRecord record, std::vector<TrackerEvent> events, ReaderHealth health,
                       double confirmedAt) const;
  EngineUpdate failedScan(ScanRecord record, const std::string& failure, ReaderHealth health) const;

  // The steps of one scan, in the order scanOnce takes them.
  using Extractions = std::array<DeckExtraction, 2>;
  struct ScanFailure {
    std::string text;  // the scan record's failure
    ReaderHealth health;
  };
  // Connects when not connected; the failure when that is not possible now.
  std::optional<ScanFailure> ensureConnected(double startedAt);
  void readMixer(const Image& image, double now, ScanRecord& record);
  void recordExtractions(const Extractions& extractions, ScanRecord& record) const;
  Frame frameOf(const Extractions& extractions, double startedAt) const;
  // Runs the tracker on the frame and follows each deck's clock.
  std::vector<TrackerEvent> follow(const Frame& frame, const Extractions& extractions, double startedAt);
  // The reader's health; forces a reconnect when the decks stayed unreadable.
  ReaderHealth judgeReadability(const Extractions& extractions, double now, ScanRecord& record);
  void noteMetadata(int deck, const DeckExtraction& extraction, double now);
  void anchorDeck(int deck, const Image& image, const DeckExtraction& extraction,
                  const std::vector<TrackerEvent>& events);
  const Track* trackByID(const std::string& id) const;

  // Serialises scans and calls. The loop's own handle has its own lock so that
  // stop() never waits for a scan.
  mutable std::mutex mutex_;
  mutable std::mutex loopMutex_;
  std::optional<std::stop_source> loop_;
  std::thread loopThread_;

  std::unique_ptr<FrameSource> source_;
  DeckTextExtractor extractor_;
  LoadTracker tracker_;
  LibraryIndex index_;
  Config config_;
  Timing timing_;
  std::uint64_t seq_ = 0;
  std::optional<double> lastReadable_;
  bool connected_ = false;
  bool includeRawText_ = false;
  DeckMotionTracker motionTracker_;
  MixerReader mixerReader_;
  std::vector<std::optional<MixerReading>> lastMixer_{std::nullopt, std::nullopt};
  std::map<int, int> lastClock_;
  std::map<int, ShownMetadata> shownMetadata_;
  std::map<int, std::map<std::string, ScreenTrack>> screenTracks_;
  double lastForcedReconnect_ = 0;
  double nextConnectAttempt_ = 0;
  std::optional<CaptureError> lastConnectError_;
  SharedSongKeys songKeys_;
};

}  // namespace kesta
