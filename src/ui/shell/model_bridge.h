#pragma once

#include <QObject>
#include <cstdint>
#include <memory>

#include "model/changed_fields.h"
#include "model/model_actions.h"
#include "model/view_snapshot.h"
#include "ui/shell/utf8_text.h"

namespace kesta {
class AppStore;
}

namespace kesta::model {
class AppModel;
class UrlOpener;
}  // namespace kesta::model

namespace kesta::ui {

// The one link between the app model and the views. At each change
// notification it takes again the parts of the view snapshot made of the
// fields just assigned, then emits `changed` with their mask, so a view
// updates what it shows of those fields, in place, reading the snapshot. The
// views act through `actions`, never on the model itself; the model is held
// here for the shell. Main thread only, like the model.
class ModelBridge : public QObject {
  Q_OBJECT

 public:
  // The diagnostics folder opens through `store` and `urls`, the model's own ports.
  ModelBridge(std::shared_ptr<model::AppModel> model, std::shared_ptr<AppStore> store,
              std::shared_ptr<model::UrlOpener> urls, QObject* parent = nullptr);
  ~ModelBridge() override;

  const model::ViewSnapshot& snapshot() const { return snapshot_; }
  model::ModelActions& actions() const { return *actions_; }

  model::AppModel& model() const { return *model_; }
  const std::shared_ptr<model::AppModel>& modelPointer() const { return model_; }

 signals:
  void changed(kesta::model::ChangedFields fields);

 private:
  std::shared_ptr<model::AppModel> model_;
  std::unique_ptr<model::ModelActions> actions_;
  model::ViewSnapshot snapshot_;
  std::uint64_t listener_ = 0;
};

}  // namespace kesta::ui
