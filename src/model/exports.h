#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <string>

#include "live/diagnostics_session.h"
#include "model/model_parts.h"
#include "model/model_ports.h"
#include "suggest/dj_set.h"

namespace kesta::model {

// What the DJ saves to a file of their choosing: the diagnostics report (of
// this run, or of the previous one while this one has recorded nothing), a
// set's history and the picture of what Kesta sees; and the report's live
// environment.
//
// Uses the diagnostics, the library's import report, the watching session's
// engine and the one-click status for failures. Threads: main thread only;
// the engine answers a picture there, and an engine let go before it
// answered still answers that the connection is closed. Failures: a file
// that cannot be written leaves no partial file; a failed picture save says
// why.
class Exports {
 public:
  Exports(const ModelPorts& ports, ModelParts parts);
  void attach(std::weak_ptr<Exports> self) { self_ = std::move(self); }

  // "Screen recording allowed" and "rekordbox running", "yes" or "no" each.
  std::map<std::string, std::string> liveEnvironment() const;
  std::string diagnosticsReport() const;
  void exportDiagnostics();
  void exportSet(const DJSet& set);
  void saveDeckView();

 private:
  struct ReportSession {
    DiagnosticsSession session;
    bool previous = false;  // an earlier run's session
  };

  ReportSession reportSession() const;
  // The diagnostics report of `session` with the newest `recentScans` scans.
  std::string reportText(const DiagnosticsSession& session, std::size_t recentScans) const;
  // The engine's answer to a deck-view request: asks where to save it.
  void saveDeckView(DeckViewAnswer answer);

  ModelParts parts_;
  std::shared_ptr<AppStore> store_;
  std::shared_ptr<Panels> panels_;
  std::shared_ptr<ImageEncoder> imageEncoder_;
  std::shared_ptr<ScreenAccess> screenAccess_;
  std::shared_ptr<RekordboxApp> rekordbox_;
  std::shared_ptr<MainQueue> mainQueue_;
  std::weak_ptr<Exports> self_;
};

}  // namespace kesta::model
