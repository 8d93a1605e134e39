#include "ui/shell/model_bridge.h"

#include <utility>

#include "model/app_model.h"
#include "model/app_model_actions.h"

namespace kesta::ui {

ModelBridge::ModelBridge(std::shared_ptr<model::AppModel> model, std::shared_ptr<AppStore> store,
                         std::shared_ptr<model::UrlOpener> urls, QObject* parent)
    : QObject(parent),
      model_(std::move(model)),
      actions_(std::make_unique<model::AppModelActions>(model_, std::move(store), std::move(urls))) {
  model::refreshSnapshot(snapshot_, *model_, model::kEveryField);
  listener_ = model_->addListener([this](model::ChangedFields fields) {
    model::refreshSnapshot(snapshot_, *model_, fields);
    emit changed(fields);
  });
}

ModelBridge::~ModelBridge() { model_->removeListener(listener_); }

}  // namespace kesta::ui
