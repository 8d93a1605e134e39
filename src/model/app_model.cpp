#include "model/app_model.h"

#include <string>
#include <utility>

#include "model/app_version.h"
#include "model/store_notice.h"
#include "platform/system/system_facts.h"

namespace kesta::model {

namespace {

constexpr double rolloverSeconds = 28800;  // a set idle this long is over

// The notice shown when one-click load is switched on, by the preset check's result.
struct PresetNotice {
  std::string text;
  std::string shortText;
  double seconds = 8;
};

PresetNotice presetNotice(const KeyPreset::Result& result) {
  if (const auto* matches = std::get_if<KeyPreset::Matches>(&result)) {
    return {"One-click load is on. Your rekordbox shortcuts (" + matches->preset + ") match.",
            "One-click load on. Shortcuts match.", 8};
  }
  if (const auto* differs = std::get_if<KeyPreset::Differs>(&result)) {
    std::string commands;
    for (const auto& command : differs->commands) commands += (commands.empty() ? "" : ", ") + command;
    return {"One-click load is on, but your rekordbox preset (" + differs->preset + ") uses other keys for " +
                commands + ". Loads will be refused until it uses the defaults.",
            "rekordbox shortcuts differ. See Full.", 15};
  }
  return {"One-click load is on. It assumes rekordbox's default shortcuts.",
          "One-click load on (default shortcuts).", 8};
}

// The date of a set's last activity: its last event, else its start.
Date lastActivity(const DJSet& set) { return set.events.empty() ? set.startedAt : set.events.back().at; }

}  // namespace

std::shared_ptr<AppModel> AppModel::create(ModelPorts ports) {
  auto model = std::shared_ptr<AppModel>(new AppModel(std::move(ports)));
  model->watchStore();
  model->restoreLibrary();
  return model;
}

AppModel::AppModel(ModelPorts ports)
    : loader_(std::move(ports.loader)),
      keyPresetCheck_(std::move(ports.keyPreset)),
      diagnosticsSession_(std::string(), {}),
      ledger_(DJSet{}),
      store_(std::move(ports.store)),
      appVersion_(currentVersionText()),
      engines_(std::move(ports.engines)),
      screenAccess_(std::move(ports.screenAccess)),
      mainQueue_(std::move(ports.mainQueue)),
      scheduler_(std::move(ports.scheduler)),
      background_(std::move(ports.background)),
      monotonicClock_(std::move(ports.monotonicClock)),
      wallClock_(std::move(ports.wallClock)),
      rekordbox_(std::move(ports.rekordbox)),
      urls_(std::move(ports.urls)),
      panels_(std::move(ports.panels)),
      relauncher_(std::move(ports.relauncher)),
      clickThrough_(std::move(ports.clickThrough)),
      dayFormatter_(std::move(ports.dayFormatter)),
      imageEncoder_(std::move(ports.imageEncoder)) {
  screenPermission_ = screenAccess_->granted();
  preferences_ = store_->preferences();
  followedAtStop_ = preferences_.resumePoint;
  userData_ = store_->userData();
  includeRawText_ = preferences_.includeRawText;
  compact_ = preferences_.compact;
  oneClickLoad_ = preferences_.oneClickLoad.value_or(false);
  rollOverSet();
  ledger_ = SetLedger(activeSet_);

  DiagnosticsLog log;
  log.setIncludeRawText(includeRawText_);
  const DiagnosticsSession::Environment environment{{"macOS", SystemFacts::operatingSystem()},
                                                    {"Mac", machineModel()}};
  diagnosticsSession_ = DiagnosticsSession(appVersion_, environment, wallClock_->now(), std::move(log));
}

AppModel::~AppModel() = default;

void AppModel::rollOverSet() {
  const Date now = wallClock_->now();
  std::vector<DJSet> archived = store_->archivedSets();
  DJSet active = DJSet::started(now);
  if (auto stored = store_->activeSet()) {
    const Date last = lastActivity(*stored);
    if (now.secondsSince(last) < rolloverSeconds) {
      active = std::move(*stored);
    } else if (!stored->events.empty()) {
      stored->endedAt = last;
      archived.insert(archived.begin(), std::move(*stored));
      store_->saveArchivedSets(archived);
      store_->saveActiveSet(active);
    }
  }
  archivedSets_ = std::move(archived);
  activeSet_ = std::move(active);
}

AppModel::ListenerID AppModel::addListener(Listener listener) {
  const ListenerID id = nextListener_++;
  listeners_.emplace(id, std::move(listener));
  return id;
}

void AppModel::removeListener(ListenerID id) { listeners_.erase(id); }

void AppModel::changed(ChangedFields fields) {
  // A listener may remove itself or others while being told.
  const auto listeners = listeners_;
  for (const auto& [id, listener] : listeners) listener(fields);
}

void AppModel::savePreferences() const { store_->savePreferences(preferences_); }

void AppModel::setPoolID(std::string poolID) {
  std::string previous = std::exchange(poolID_, std::move(poolID));
  changed(Field::poolID);
  poolChanged(previous);
}

void AppModel::setOneClickLoad(bool on) {
  const bool wasOn = oneClickLoad_;
  publish(oneClickLoad_, on, Field::oneClickLoad);
  preferences_.oneClickLoad = on;
  savePreferences();
  if (wasOn || !on) return;
  loader_->requestAuthorization();
  const PresetNotice notice = presetNotice(keyPresetCheck_->check());
  show(notice.text, notice.shortText, notice.seconds);
}

void AppModel::setLoadStatus(LoadStatus status) {
  loadStatusShort_.reset();
  publish(loadStatus_, std::move(status), Field::loadStatus);
  if (loadStatus_.is<LoadStatus::Done>() || loadStatus_.is<LoadStatus::Failed>()) {
    ++noticeGeneration_;
    publish(notice_, std::nullopt, Field::notice);
  }
}

void AppModel::setIncludeRawText(bool include) {
  publish(includeRawText_, include, Field::includeRawText);
  preferences_.includeRawText = include;
  diagnosticsSession_.log.setIncludeRawText(include);
  diagnosticsDirty_ = true;
  savePreferences();
  // The engine gets the setting as it stands when this runs, not as it was.
  mainQueue_->post([weak = weak_from_this()] {
    const auto model = weak.lock();
    if (model && model->engine_) model->engine_->setIncludeRawText(model->includeRawText_);
  });
}

void AppModel::setCompact(bool compact) {
  publish(compact_, compact, Field::compact);
  preferences_.compact = compact;
  savePreferences();
}

std::string AppModel::machineModel() { return SystemFacts::machineModel(); }

std::map<std::string, std::string> AppModel::liveEnvironment() const {
  const auto yesNo = [](bool value) { return std::string(value ? "yes" : "no"); };
  return {{"Screen recording allowed", yesNo(screenAccess_->granted())},
          {"rekordbox running", yesNo(rekordbox_->isRunning())}};
}

void AppModel::show(std::string notice, std::optional<std::string> shortText, double seconds) {
  // The short form is in place before anyone hears of the new notice.
  noticeShort_ = std::move(shortText);
  publish(notice_, std::move(notice), Field::notice);
  const std::int64_t generation = ++noticeGeneration_;
  scheduler_->after(seconds, [weak = weak_from_this(), generation] {
    const auto model = weak.lock();
    if (model && model->noticeGeneration_ == generation) {
      model->publish(model->notice_, std::nullopt, Field::notice);
    }
  });
}

void AppModel::watchStore() {
  // Told on the writer's thread, or the one that read the file.
  store_->listen([queue = mainQueue_, weak = weak_from_this()](const StoreProblem& problem) {
    queue->post([weak, problem] {
      if (const auto model = weak.lock()) {
        const StoreNotice notice = storeNotice(problem);
        model->show(notice.text, notice.shortText, notice.seconds);
      }
    });
  });
}

}  // namespace kesta::model
