#pragma once

#include <memory>
#include <string>

#include "live/diagnostics_session.h"
#include "live/engine_update.h"
#include "model/ports/wall_clock.h"
#include "platform/time/date.h"
#include "store/app_store.h"

namespace kesta::model {

// This run's diagnostics session: what the engine, the ranking and one-click
// load record into it, and its saves, at most every 15 seconds while
// updates arrive, at Stop, at a DJ's flag and at quit.
//
// Threads: main thread only; the store writes on its own thread. Failures:
// saves report nothing. Units: milliseconds in the records.
class DiagnosticsRecord {
 public:
  DiagnosticsRecord(std::shared_ptr<AppStore> store, std::shared_ptr<WallClock> wallClock,
                    const std::string& appVersion, bool includeRawText);

  const DiagnosticsSession& session() const { return session_; }

  // Where the parts record; the next save writes it.
  DiagnosticsLog& log() { return session_.log; }
  // One applied engine update; saves when the last save is 15 s old.
  void record(const EngineUpdate& update);

  // Writes the session when anything was recorded.
  void save();
  // The same at once, marked as ended, for the end of the run.
  void finish();

 private:
  static constexpr Date distantPast{-63114076800.0};

  std::shared_ptr<AppStore> store_;
  std::shared_ptr<WallClock> wallClock_;
  DiagnosticsSession session_;
  Date lastSave_ = distantPast;
};

}  // namespace kesta::model
