#include "ui/shell/model_bridge.h"

#include <utility>

namespace kesta::ui {

ModelBridge::ModelBridge(std::shared_ptr<model::AppModel> model, QObject* parent)
    : QObject(parent), model_(std::move(model)) {
  listener_ = model_->addListener([this](model::ChangedFields fields) { emit changed(fields); });
}

ModelBridge::~ModelBridge() { model_->removeListener(listener_); }

}  // namespace kesta::ui
