#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "fakes/fake_ports.h"
#include "model/app_model.h"
#include "model_probe.h"
#include "ui/shell/model_bridge.h"

namespace kesta::test {
using namespace kesta::ui;

// The app model over a temporary data folder with every port faked, and the
// bridge the views read it through; the model is built on first use, so sets
// may be stored first. Drives the model the way the live engine would: a
// library installed, Connect, then scans. Used by the view tests and the
// gallery alike, so it is no test fixture.
class FakeDrivenModel : public test::FakePorts {
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
      model_ = model::AppModel::create(ports(store));
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

}  // namespace kesta::test
