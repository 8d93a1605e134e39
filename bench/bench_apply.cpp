// The app model applying one engine update on the main thread, about four
// times a second while connected, over a 50,000-track library. Goals: ≤ 0.2 ms
// median when nothing changed, ≤ 5 ms with a load (new focus, ranking
// scheduled, set saved); the ranking itself runs elsewhere and is not timed.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <string>

#include "model/app_model.h"
#include "model/model_probe.h"

namespace {

using namespace kesta;
using namespace kesta::model;

constexpr std::size_t kTracks = 50'000;

// Ports that go nowhere: posted work, timers and background jobs (the
// ranking among them) are dropped, so only the main thread's share is timed.
struct NoQueue : MainQueue {
  void post(std::function<void()>) override {}
};
struct NoScheduler : Scheduler {
  Cancellation after(double, std::function<void()>) override { return {}; }
};
struct NoExecutor : BackgroundExecutor {
  void run(std::function<void()>) override {}
};
struct StillMonotonic : MonotonicClock {
  double now() const override { return 1000; }
};
struct StillWall : WallClock {
  Date now() const override { return Date::fromUnixSeconds(1'780'000'000); }
};

// The engine: keeps the model's update callback for the benchmark to call.
struct CapturingEngine : EnginePort {
  void setIncludeRawText(bool) override {}
  void start(OnUpdate callback) override { onUpdate = std::move(callback); }
  void stop() override {}
  void shutdown() override {}
  void chooseDeck(int, FocusKind, std::function<void(std::optional<Focus>)>) override {}
  void resolve(int, std::string, std::function<void(std::optional<Focus>)>) override {}
  void replaceLibrary(LibraryIndex, SharedSongKeys) override {}
  void confirmStopped(int, std::function<void(std::optional<bool>)>) override {}
  void deckView(std::function<void(DeckViewAnswer)>) override {}
  OnUpdate onUpdate;
};
struct OneEngine : EngineFactory {
  std::shared_ptr<EnginePort> make(LibraryIndex, EnginePort::SharedSongKeys) override { return engine; }
  std::shared_ptr<CapturingEngine> engine = std::make_shared<CapturingEngine>();
};

struct Quiet : LoaderPort,
               KeyPresetCheck,
               ScreenAccess,
               RekordboxApp,
               UrlOpener,
               Panels,
               Relauncher,
               ClickThrough,
               DayFormatter,
               ImageEncoder {
  bool isAuthorized() const override { return true; }
  void requestAuthorization() override {}
  void load(Track, int, LibraryIndex, StillSafe, std::function<void(LoadOutcome)>) override {}
  void undoLastLoad(std::function<void(std::optional<LoadFailure>)>) override {}
  KeyPreset::Result check() override { return KeyPreset::Matches{"Default"}; }
  bool granted() override { return true; }
  bool request() override { return true; }
  std::string settingsURL() override { return {}; }
  bool isRunning() override { return true; }
  void activate() override {}
  void open(const std::string&, Done) override {}
  std::optional<std::filesystem::path> chooseFile(const OpenPanelRequest&) override { return {}; }
  std::optional<std::filesystem::path> chooseSaveLocation(const SavePanelRequest&) override { return {}; }
  bool startNewInstance() override { return false; }
  void terminate() override {}
  std::vector<WindowID> ignoreMouse() override { return {}; }
  void restoreMouse(const std::vector<WindowID>&) override {}
  std::string monthDay(Date) const override { return {}; }
  std::optional<std::string> png(const Image&) const override { return {}; }
};

Library bigLibrary() {
  static const char* const keys[] = {"8A", "9A", "5A", "11B", "2B", "6A"};
  std::mt19937 random(2026);
  Library library;
  library.sourceFileName = "rekordbox.xml";
  library.tracks.reserve(kTracks);
  for (std::size_t i = 0; i < kTracks; ++i) {
    Track track;
    track.id = std::to_string(i + 1);
    track.key = StableKey{"file:" + track.id};
    track.source = Source::local();
    track.title = "Track " + std::to_string(random() % 20'000) + " " + track.id;
    track.artist = "Artist " + std::to_string(random() % 3'000);
    track.bpm = 118 + static_cast<double>(random() % 2'000) / 100;
    track.keyText = keys[random() % 6];
    track.musicalKey = MusicalKey::parsing(*track.keyText);
    library.tracks.push_back(std::move(track));
  }
  return library;
}

// A connected model over the big library in a fresh data folder.
struct Connected {
  Connected() {
    auto quiet = std::make_shared<Quiet>();
    ModelPorts ports{std::make_shared<AppStore>(folder),
                     std::make_shared<NoQueue>(),
                     std::make_shared<NoScheduler>(),
                     std::make_shared<NoExecutor>(),
                     std::make_shared<StillMonotonic>(),
                     std::make_shared<StillWall>(),
                     engines,
                     quiet,
                     quiet,
                     quiet,
                     quiet,
                     quiet,
                     quiet,
                     quiet,
                     quiet,
                     quiet,
                     quiet};
    model = AppModel::create(ports);
    ModelProbe::install(*model, bigLibrary());
    model->startWatching();
  }
  ~Connected() {
    model.reset();
    std::filesystem::remove_all(folder);
  }
  void apply(const EngineUpdate& update) { engines->engine->onUpdate(update); }

  std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                 ("kesta-bench-apply-" + std::to_string(std::random_device()()));
  std::shared_ptr<OneEngine> engines = std::make_shared<OneEngine>();
  std::shared_ptr<AppModel> model;
};

EngineUpdate following(const std::string& deck1, const std::string& deck2, std::uint64_t seq) {
  EngineUpdate update;
  update.decks = {DeckContent::track(deck1), DeckContent::track(deck2)};
  update.focus = Focus{2, DeckContent::track(deck2), seq, FocusKind::load, 0, false};
  update.phase = TrackerPhase::following;
  update.health = ReaderHealth::reading();
  update.motion = {DeckMotion::running(), DeckMotion::stopped(4)};
  update.mixer = {MixerReading{0.8, true}, MixerReading{0.0, true}};
  update.shown = {{1, ShownMetadata{deck1, "8A", 124}}, {2, ShownMetadata{deck2, "9A", 125}}};
  update.scan.deck1 = "track";
  update.scan.deck2 = "track";
  return update;
}

void BM_ApplyUnchanged(benchmark::State& state) {
  Connected connected;
  EngineUpdate update = following("10", "20", 1);
  connected.apply(update);
  for (auto _ : state) {
    ++update.scan.seq;
    connected.apply(update);
  }
}
BENCHMARK(BM_ApplyUnchanged)->Unit(benchmark::kMicrosecond);

void BM_ApplyLoad(benchmark::State& state) {
  Connected connected;
  std::uint64_t seq = 1;
  std::string playing = "10";
  connected.apply(following("20", playing, seq));
  for (auto _ : state) {
    ++seq;
    const std::string loaded = std::to_string(100 + seq * 37 % (kTracks - 200));
    EngineUpdate update = following(playing, loaded, seq);
    update.events = {TrackerEvent::load(2, DeckContent::track(loaded), DeckContent::track(playing), 0),
                     TrackerEvent::focus(*update.focus)};
    connected.apply(update);
    playing = loaded;
  }
}
// A set of a few hundred loads, as one night's set.
BENCHMARK(BM_ApplyLoad)->Unit(benchmark::kMillisecond)->Iterations(300)->Repetitions(5);

}  // namespace

BENCHMARK_MAIN();
