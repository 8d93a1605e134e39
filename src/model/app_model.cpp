#include "model/app_model.h"

#include <utility>

#include "model/app_version.h"
#include "model/store_notice.h"

namespace kesta::model {

std::shared_ptr<AppModel> AppModel::create(ModelPorts ports) {
  auto model = std::shared_ptr<AppModel>(new AppModel(ports));
  model->attach(model);
  model->notices_.tellStoreProblems(*ports.store, ports.mainQueue);
  model->restoreLibrary();
  return model;
}

AppModel::AppModel(const ModelPorts& ports)
    : appVersion_(currentVersionText()),
      settings_(notifier_, ports.store),
      notices_(notifier_, ports.scheduler),
      diagnostics_(ports.store, ports.wallClock, appVersion_, settings_.includeRawText()),
      sets_(notifier_, ports.store, ports.wallClock),
      library_(ports, parts()),
      live_(notifier_, library_.index()),
      watching_(ports, parts()),
      updates_(ports, parts()),
      lanes_(ports, parts()),
      oneClick_(ports, parts()),
      status_(ports, parts()),
      exports_(ports, parts()) {}

AppModel::~AppModel() = default;

ModelParts AppModel::parts() {
  return {notifier_, settings_, notices_, diagnostics_, sets_,    library_,
          live_,     watching_, updates_, lanes_,       oneClick_};
}

void AppModel::attach(const std::shared_ptr<AppModel>& self) {
  // Each handle shares the model's lifetime: it is alive exactly while the model is.
  notices_.attach(std::shared_ptr<Notices>(self, &notices_));
  library_.attach(std::shared_ptr<LibraryKeeper>(self, &library_));
  watching_.attach(std::shared_ptr<Watching>(self, &watching_));
  lanes_.attach(std::shared_ptr<LaneRanking>(self, &lanes_));
  oneClick_.attach(std::shared_ptr<OneClickLoad>(self, &oneClick_));
  exports_.attach(std::shared_ptr<Exports>(self, &exports_));
}

void AppModel::setIncludeRawText(bool include) {
  const Notifier::Batch batch(notifier_);
  settings_.setIncludeRawText(include);
  diagnostics_.log().setIncludeRawText(include);
  watching_.passIncludeRawText();
}

void AppModel::rate(const Track& track, int stars) {
  const Notifier::Batch batch(notifier_);
  if (sets_.rate(track, stars)) lanes_.schedule();
}

void AppModel::replayTracks() {
  const Notifier::Batch batch(notifier_);
  sets_.replay();
  lanes_.schedule();
}

void AppModel::endSet() {
  const Notifier::Batch batch(notifier_);
  if (!sets_.endSet()) {
    const StoreNotice notice = setKeptRunningNotice();
    notices_.show(notice.text, notice.shortText, notice.seconds);
    return;
  }
  lanes_.schedule();
}

}  // namespace kesta::model
