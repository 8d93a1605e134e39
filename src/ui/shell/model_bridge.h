#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <string>

#include "model/app_model.h"
#include "model/changed_fields.h"

namespace kesta::ui {

// Model text (UTF-8) as Qt text and back.
inline QString toQString(const std::string& text) { return QString::fromStdString(text); }
inline std::string toStdString(const QString& text) { return text.toStdString(); }

// The one link from the app model's change notifications to the views: each
// notification is re-emitted as `changed` with the mask of the fields just
// assigned, so a view updates what it shows of those fields, in place. Holds
// the model for the views. Main thread only, like the model.
class ModelBridge : public QObject {
  Q_OBJECT

 public:
  explicit ModelBridge(std::shared_ptr<model::AppModel> model, QObject* parent = nullptr);
  ~ModelBridge() override;

  model::AppModel& model() const { return *model_; }
  const std::shared_ptr<model::AppModel>& modelPointer() const { return model_; }

 signals:
  void changed(kesta::model::ChangedFields fields);

 private:
  std::shared_ptr<model::AppModel> model_;
  model::AppModel::ListenerID listener_;
};

}  // namespace kesta::ui
