#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "fakes/fake_ports.h"
#include "model/app_model.h"

namespace kesta::test {
using namespace kesta::model;

// A fresh data folder, every port faked, and the model built over them on
// first use (so that a test may store files first). Every notification the
// model sends is recorded.
class ModelFixture : public ::testing::Test, protected FakePorts {
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

  ModelPorts ports() const { return FakePorts::ports(store); }

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

}  // namespace kesta::test
