#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>
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

namespace kesta::model::testing {

// A fresh data folder, every port faked, and the model built over them on
// first use (so that a test may store files first). Every notification the
// model sends is recorded.
class ModelFixture : public ::testing::Test {
 protected:
  ModelFixture() : dataDir_(freshFolder()), store(std::make_shared<AppStore>(dataDir_)) {}
  ~ModelFixture() override {
    model_.reset();
    // Jobs still held may keep the store alive: nothing may land after the removal.
    store->flush();
    store.reset();
    std::error_code ignored;
    std::filesystem::remove_all(dataDir_, ignored);
  }

  ModelPorts ports() {
    return ModelPorts{store,   queue,      scheduler,    executor,     monotonic,   wall,
                      engines, loader,     keyPreset,    screen,       rekordbox,   urls,
                      panels,  relauncher, clickThrough, dayFormatter, imageEncoder};
  }

  // The model, built on the first call.
  AppModel& model() {
    if (!model_) {
      model_ = AppModel::create(ports());
      model_->addListener([this](ChangedFields fields) { notifications.push_back(fields); });
    }
    return *model_;
  }
  std::shared_ptr<AppModel>& modelPointer() {
    model();
    return model_;
  }

  // How many notifications named `field`.
  int notified(Field field) const {
    int count = 0;
    for (const ChangedFields fields : notifications) count += fields.contains(field) ? 1 : 0;
    return count;
  }

  // Both wait for the store's queued saves first, so that the folder holds
  // what the model saved.
  const std::filesystem::path& dataDir() const {
    store->flush();
    return dataDir_;
  }
  std::filesystem::path file(const std::string& name) const { return dataDir() / name; }

  std::shared_ptr<FakeMainQueue> queue = std::make_shared<FakeMainQueue>();
  std::shared_ptr<FakeMonotonicClock> monotonic = std::make_shared<FakeMonotonicClock>();
  std::shared_ptr<FakeWallClock> wall = std::make_shared<FakeWallClock>();
  std::shared_ptr<FakeScheduler> scheduler = std::make_shared<FakeScheduler>(monotonic.get(), wall.get());
  std::shared_ptr<ManualExecutor> executor = std::make_shared<ManualExecutor>();
  std::shared_ptr<FakeEngineFactory> engines = std::make_shared<FakeEngineFactory>(*queue);
  std::shared_ptr<FakeLoader> loader = std::make_shared<FakeLoader>();
  std::shared_ptr<FakeKeyPreset> keyPreset = std::make_shared<FakeKeyPreset>();
  std::shared_ptr<FakeScreenAccess> screen = std::make_shared<FakeScreenAccess>();
  std::shared_ptr<FakeRekordboxApp> rekordbox = std::make_shared<FakeRekordboxApp>();
  std::shared_ptr<FakeUrlOpener> urls = std::make_shared<FakeUrlOpener>();
  std::shared_ptr<FakePanels> panels = std::make_shared<FakePanels>();
  std::shared_ptr<FakeRelauncher> relauncher = std::make_shared<FakeRelauncher>();
  std::shared_ptr<FakeClickThrough> clickThrough = std::make_shared<FakeClickThrough>();
  std::shared_ptr<FakeDayFormatter> dayFormatter = std::make_shared<FakeDayFormatter>();
  std::shared_ptr<FakeImageEncoder> imageEncoder = std::make_shared<FakeImageEncoder>();

 private:
  static std::filesystem::path freshFolder() {
    std::random_device random;
    return std::filesystem::temp_directory_path() / ("kesta-model-" + std::to_string(random()));
  }

  std::filesystem::path dataDir_;

 protected:
  std::shared_ptr<AppStore> store;
  std::vector<ChangedFields> notifications;

 private:
  std::shared_ptr<AppModel> model_;
};

}  // namespace kesta::model::testing
