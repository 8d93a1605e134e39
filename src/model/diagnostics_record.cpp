#include "model/diagnostics_record.h"

#include <utility>

#include "platform/system/system_facts.h"

namespace kesta::model {

namespace {

constexpr double saveInterval = 15;  // seconds between saves while updates arrive

DiagnosticsSession newSession(const std::string& appVersion, bool includeRawText, Date now) {
  DiagnosticsLog log;
  log.setIncludeRawText(includeRawText);
  const DiagnosticsSession::Environment environment{{"macOS", SystemFacts::operatingSystem()},
                                                    {"Mac", SystemFacts::machineModel()}};
  return DiagnosticsSession(appVersion, environment, now, std::move(log));
}

}  // namespace

DiagnosticsRecord::DiagnosticsRecord(std::shared_ptr<AppStore> store, std::shared_ptr<WallClock> wallClock,
                                     const std::string& appVersion, bool includeRawText)
    : store_(std::move(store)),
      wallClock_(std::move(wallClock)),
      session_(newSession(appVersion, includeRawText, wallClock_->now())) {}

void DiagnosticsRecord::record(const EngineUpdate& update) {
  auto& log = session_.log;
  log.record(update.scan);
  if (update.frame) log.record(*update.frame);
  log.record(update.events);
  if (update.scanGapMs) log.recordLoopGap(*update.scanGapMs);
  if (wallClock_->now().secondsSince(lastSave_) >= saveInterval) save();
}

void DiagnosticsRecord::save() {
  if (session_.log.isEmpty()) return;
  const Date now = wallClock_->now();
  session_.updatedAt = now;
  store_->saveDiagnostics(session_);
  lastSave_ = now;
}

void DiagnosticsRecord::finish() {
  if (session_.log.isEmpty()) return;
  const Date now = wallClock_->now();
  session_.updatedAt = now;
  session_.endedAt = now;
  store_->saveDiagnosticsNow(session_);
}

}  // namespace kesta::model
