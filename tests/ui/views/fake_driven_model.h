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
#include "model_probe.h"
#include "ui/shell/model_bridge.h"

namespace kesta::ui::testing {

// The app model over a temporary data folder with every port faked, and the
// bridge the views read it through; the model is built on first use, so sets
// may be stored first. Drives the model the way the live engine would: a
// library installed, Connect, then scans. Used by the view tests and the
// gallery alike, so it is no test fixture.
class FakeDrivenModel {
 public:
  FakeDrivenModel() : dataDir_(freshFolder()), store(std::make_shared<AppStore>(dataDir_)) {}
  ~FakeDrivenModel() {
    bridge_.reset();
    model_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(dataDir_, ignored);
  }
  FakeDrivenModel(const FakeDrivenModel&) = delete;
  FakeDrivenModel& operator=(const FakeDrivenModel&) = delete;

  model::AppModel& model() {
    bridge();
    return *model_;
  }
  ModelBridge& bridge() {
    if (!bridge_) {
      model_ = model::AppModel::create(model::ModelPorts{
          store, queue, scheduler, executor, monotonic, wall, engines, loader, keyPreset, screen, rekordbox,
          urls, panels, relauncher, clickThrough, dayFormatter, imageEncoder});
      bridge_ = std::make_unique<ModelBridge>(model_, store, urls);
    }
    return *bridge_;
  }

  // The library as a finished import leaves it.
  void install(std::vector<Track> tracks) {
    Library library;
    library.tracks = std::move(tracks);
    library.sourceFileName = "rekordbox.xml";
    model::ModelProbe::install(model(), std::move(library));
  }
  void connect() {
    model().startWatching();
    queue->drain();
  }
  // One scan: the decks as given, each running unless `motion` says otherwise;
  // then the ranking it starts, finished and handed back.
  void scan(std::vector<DeckContent> decks, std::optional<Focus> focus,
            TrackerPhase phase = TrackerPhase::following, std::vector<DeckMotion> motion = {},
            std::set<int> pending = {}) {
    EngineUpdate update;
    update.decks = std::move(decks);
    update.focus = std::move(focus);
    update.phase = phase;
    update.health = ReaderHealth::reading();
    update.motion = motion.empty() ? std::vector{DeckMotion::running(), DeckMotion::running()} : motion;
    update.mixer = {std::nullopt, std::nullopt};
    update.pendingDecks = std::move(pending);
    engines->last()->deliver(update);
    queue->drain();
    settle();
  }
  // Runs the newest background job (a ranking) and hands its result over.
  void settle() {
    if (executor->pending() > 0) executor->runJob(executor->pending() - 1);
    queue->drain();
  }

  const std::filesystem::path& dataDir() const { return dataDir_; }

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

 public:
  std::shared_ptr<AppStore> store;

 private:
  std::shared_ptr<model::AppModel> model_;
  std::unique_ptr<ModelBridge> bridge_;
};

}  // namespace kesta::ui::testing
