#include "live/live_engine.h"

#include <thread>

namespace kesta {

std::shared_ptr<LiveEngine> LiveEngine::create(Parts parts) {
  return std::shared_ptr<LiveEngine>(new LiveEngine(std::move(parts)));
}

LiveEngine::LiveEngine(Parts parts)
    : source_(std::move(parts.source)),
      extractor_(parts.recognizer, parts.extractorConfig),
      tracker_(parts.songKeys),
      index_(std::move(parts.index)),
      config_(parts.config),
      timing_(std::move(parts.timing)),
      mixerReader_(parts.recognizer),
      songKeys_(std::move(parts.songKeys)) {}

// The last reference may be dropped on the loop's own thread (it holds the
// engine while it scans); that thread cannot wait for itself and ends right
// after.
LiveEngine::~LiveEngine() { stopAndWait(); }

void LiveEngine::setIncludeRawText(bool include) {
  const std::lock_guard lock(mutex_);
  includeRawText_ = include;
}

void LiveEngine::replaceLibrary(LibraryIndex index, SharedSongKeys songKeys) {
  const std::lock_guard lock(mutex_);
  index_ = std::move(index);
  songKeys_ = std::move(songKeys);
  tracker_ = LoadTracker(songKeys_);
  extractor_.reset();
}

void LiveEngine::start(OnUpdate onUpdate) {
  stopAndWait();
  {
    const std::lock_guard lock(mutex_);
    tracker_ = LoadTracker(songKeys_);
    extractor_.reset();
    mixerReader_.reset();
    lastReadable_.reset();
    connected_ = false;
  }
  // The handle is in place before the loop runs, so that a stop() from its
  // first update reaches it.
  std::stop_source stop;
  const std::lock_guard lock(loopMutex_);
  loop_ = stop;
  loopThread_ =
      std::thread(runLoop, weak_from_this(), stop.get_token(), std::move(onUpdate), config_, timing_);
}

void LiveEngine::stop() {
  const std::lock_guard lock(loopMutex_);
  if (loop_) loop_->request_stop();
  loop_.reset();
}

void LiveEngine::stopAndWait() {
  std::thread thread;
  {
    const std::lock_guard lock(loopMutex_);
    if (loop_) loop_->request_stop();
    loop_.reset();
    thread = std::move(loopThread_);
  }
  if (!thread.joinable()) return;
  if (thread.get_id() == std::this_thread::get_id()) {
    thread.detach();
  } else {
    thread.join();
  }
}

bool LiveEngine::hasLoopThread() const {
  const std::lock_guard lock(loopMutex_);
  return loopThread_.joinable();
}

void LiveEngine::runLoop(std::weak_ptr<LiveEngine> weak, std::stop_token stop, OnUpdate onUpdate,
                         Config config, Timing timing) {
  std::optional<double> previousStart;
  while (!stop.stop_requested()) {
    const double started = timing.now();
    EngineUpdate update;
    {
      // Held for the scan only, so that releasing the engine never waits
      // for an update to be taken.
      const auto engine = weak.lock();
      if (!engine) return;
      update = engine->scanOnce(started);
    }
    if (previousStart) update.scanGapMs = (started - *previousStart) * 1000;
    onUpdate(std::move(update));
    const double elapsed = timing.now() - started;
    const double rest = config.period - elapsed;
    timing.sleep(stop, rest >= config.minimumGap ? rest : config.minimumGap);
    previousStart = started;
  }
}

std::optional<Focus> LiveEngine::chooseDeck(int deck, FocusKind kind) {
  const std::lock_guard lock(mutex_);
  tracker_.chooseDeck(deck, timing_.now(), kind);
  return tracker_.focus();
}

std::optional<Focus> LiveEngine::resolve(int deck, const std::string& trackID) {
  const std::lock_guard lock(mutex_);
  tracker_.resolve(deck, trackID);
  return tracker_.focus();
}

std::optional<Image> LiveEngine::deckView() {
  const std::lock_guard lock(mutex_);
  if (!connected_) {
    source_->connect();
    connected_ = true;
  }
  return extractor_.deckView(source_->capture());
}

std::optional<bool> LiveEngine::confirmStopped(int deck) {
  const std::lock_guard lock(mutex_);
  if (!connected_ || (deck != 1 && deck != 2)) return std::nullopt;
  Image image;
  try {
    image = source_->capture();
  } catch (const std::exception&) {
    return std::nullopt;
  }
  const auto value = extractor_.readClock(image, deck, index_.recognitionLanguages());
  if (!value) return std::nullopt;
  const double now = timing_.now();
  const DeckMotion motion = motionTracker_.motion(deck, tracker_.deck(deck).confirmed, now);
  const auto previous = lastClock_.find(deck);
  const bool unchanged = previous != lastClock_.end() && previous->second == *value;
  motionTracker_.observe(deck, value, now);
  lastClock_[deck] = *value;
  return motion.kind == DeckMotion::Kind::stopped && unchanged;
}

LiveEngine::SharedSongKeys LiveEngine::songKeysOf(const LibraryIndex& index) {
  SongKeys keys;
  keys.reserve(index.trackCount());
  for (const Track& track : index.tracks()) {
    if (index.track(track.id) == &track) keys.emplace(track.id, track.songKey());
  }
  return std::make_shared<const SongKeys>(std::move(keys));
}

const Track* LiveEngine::trackByID(const std::string& id) const { return index_.track(id); }

}  // namespace kesta
