#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "fakes/fake_click_through.h"
#include "fakes/fake_clocks.h"
#include "fakes/fake_day_formatter.h"
#include "fakes/fake_engine.h"
#include "fakes/fake_image_encoder.h"
#include "fakes/fake_key_preset.h"
#include "fakes/fake_loader.h"
#include "fakes/fake_main_queue.h"
#include "fakes/fake_panels.h"
#include "fakes/fake_rekordbox_app.h"
#include "fakes/fake_relauncher.h"
#include "fakes/fake_scheduler.h"
#include "fakes/fake_screen_access.h"
#include "fakes/fake_url_opener.h"
#include "fakes/manual_executor.h"
#include "model/app_model.h"
#include "reading/reading_fixtures.h"
#include "ui/shell/model_bridge.h"

namespace kesta::ui::testing {

// A title of 120 characters, the longest the views must cope with.
inline const std::string kLongTitle =
    "Adagio for Strings (Extended Festival Mix) [Remastered 2026] feat. The Very Long Orchestra of "
    "Everywhere and Friends Too";

// The tracks of the stage's library: ids "1" to "8"; "7" and "8" are two
// versions of one song; "6" has the long title.
inline Library stageLibrary(std::string fileName = "rekordbox.xml") {
  using kesta::testing::libraryTrack;
  Library library = kesta::testing::libraryOf({
      libraryTrack("1", "Strobe", "deadmau5", 128.0, "8A"),
      libraryTrack("2", "Levels", "Avicii", 126.0, "5A"),
      libraryTrack("3", "Opus", "Eric Prydz", 126.0, "7A"),
      libraryTrack("4", "Cola", "CamelPhat", 124.0, "8A"),
      libraryTrack("5", "Losing It", "Fisher", 125.0, "9A"),
      libraryTrack("6", kLongTitle, "Orchestra", 128.0, "8B"),
      libraryTrack("7", "Innerbloom", "RÜFÜS DU SOL", 120.0, "4A"),
      libraryTrack("8", "Innerbloom", "RÜFÜS DU SOL", 122.0, "4A"),
  });
  library.sourceFileName = std::move(fileName);
  library.playlists = {Playlist{"00000000000000a1", "Warm up", {}, {"1", "2", "3"}},
                       Playlist{"00000000000000a2", "Peak time", {"Club"}, {"4", "5", "6"}}};
  library.report.totalEntries = 8;
  library.report.recommendable = 8;
  library.report.playlists = 2;
  return library;
}

// The app model over a fresh data folder with every port faked, its bridge,
// and the steps that put it in the states the views show. Work the model
// posts or hands to the background runs only in `settle`.
class ViewStage {
 public:
  explicit ViewStage(bool screenGranted = true) : dataDir_(freshFolder()) {
    screen->isGranted = screenGranted;
    store = std::make_shared<AppStore>(dataDir_);
    model_ = model::AppModel::create(model::ModelPorts{
        store, queue, scheduler, executor, monotonic, wall, engines, loader, keyPreset, screen, rekordbox,
        urls, panels, relauncher, clickThrough, dayFormatter, imageEncoder});
    bridge_ = std::make_unique<ModelBridge>(model_);
    settle();
  }
  ~ViewStage() {
    bridge_.reset();
    model_.reset();
    store.reset();
    std::error_code ignored;
    std::filesystem::remove_all(dataDir_, ignored);
  }
  ViewStage(const ViewStage&) = delete;
  ViewStage& operator=(const ViewStage&) = delete;

  model::AppModel& model() { return *model_; }
  ModelBridge& bridge() { return *bridge_; }
  const std::filesystem::path& dataDir() const { return dataDir_; }

  // Runs posted and background work until none is left.
  void settle() {
    for (int round = 0; round < 20; ++round) {
      const int ran = queue->drain();
      if (executor->pending() == 0 && ran == 0) return;
      executor->runAll();
    }
  }

  void install(Library library = stageLibrary(), std::optional<Date> modifiedAt = std::nullopt) {
    model_->install(std::move(library), (dataDir_ / "rekordbox.xml").string(), modifiedAt);
    settle();
  }

  model::testing::FakeEngine& connect() {
    model_->startWatching();
    settle();
    return *engines->last();
  }

  // One scan while reading: the decks as given, the focus on `focusDeck`
  // (none for 0), both decks running.
  void deliver(std::vector<DeckContent> decks, int focusDeck, TrackerPhase phase = TrackerPhase::following,
               ReaderHealth health = ReaderHealth::reading(), std::vector<TrackerEvent> events = {}) {
    EngineUpdate update;
    update.events = std::move(events);
    if (focusDeck > 0)
      update.focus = Focus{focusDeck, decks[focusDeck - 1], ++seq_, FocusKind::load, 0, false};
    update.decks = std::move(decks);
    update.phase = phase;
    update.health = std::move(health);
    update.motion = {DeckMotion::running(), DeckMotion::running()};
    update.confirmedAt = 2000;
    engines->last()->deliver(update);
    settle();
  }

  std::shared_ptr<AppStore> store;
  std::shared_ptr<model::testing::FakeMainQueue> queue = std::make_shared<model::testing::FakeMainQueue>();
  std::shared_ptr<model::testing::FakeMonotonicClock> monotonic =
      std::make_shared<model::testing::FakeMonotonicClock>();
  std::shared_ptr<model::testing::FakeWallClock> wall = std::make_shared<model::testing::FakeWallClock>();
  std::shared_ptr<model::testing::FakeScheduler> scheduler =
      std::make_shared<model::testing::FakeScheduler>(monotonic.get(), wall.get());
  std::shared_ptr<model::testing::ManualExecutor> executor =
      std::make_shared<model::testing::ManualExecutor>();
  std::shared_ptr<model::testing::FakeEngineFactory> engines =
      std::make_shared<model::testing::FakeEngineFactory>(*queue);
  std::shared_ptr<model::testing::FakeLoader> loader = std::make_shared<model::testing::FakeLoader>();
  std::shared_ptr<model::testing::FakeKeyPreset> keyPreset =
      std::make_shared<model::testing::FakeKeyPreset>();
  std::shared_ptr<model::testing::FakeScreenAccess> screen =
      std::make_shared<model::testing::FakeScreenAccess>();
  std::shared_ptr<model::testing::FakeRekordboxApp> rekordbox =
      std::make_shared<model::testing::FakeRekordboxApp>();
  std::shared_ptr<model::testing::FakeUrlOpener> urls = std::make_shared<model::testing::FakeUrlOpener>();
  std::shared_ptr<model::testing::FakePanels> panels = std::make_shared<model::testing::FakePanels>();
  std::shared_ptr<model::testing::FakeRelauncher> relauncher =
      std::make_shared<model::testing::FakeRelauncher>();
  std::shared_ptr<model::testing::FakeClickThrough> clickThrough =
      std::make_shared<model::testing::FakeClickThrough>();
  std::shared_ptr<model::testing::FakeDayFormatter> dayFormatter =
      std::make_shared<model::testing::FakeDayFormatter>();
  std::shared_ptr<model::testing::FakeImageEncoder> imageEncoder =
      std::make_shared<model::testing::FakeImageEncoder>();

 private:
  static std::filesystem::path freshFolder() {
    std::random_device random;
    return std::filesystem::temp_directory_path() / ("kesta-views-" + std::to_string(random()));
  }

  std::filesystem::path dataDir_;
  std::shared_ptr<model::AppModel> model_;
  std::unique_ptr<ModelBridge> bridge_;
  std::uint64_t seq_ = 0;
};

}  // namespace kesta::ui::testing
