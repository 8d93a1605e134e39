#pragma once

#include <memory>
#include <optional>

#include "live/engine_update.h"
#include "live/focus.h"
#include "model/model_parts.h"
#include "model/model_ports.h"

namespace kesta::model {

// Applies each update of the current engine as one operation: records it in
// the diagnostics, mirrors it, resumes a remembered focus, records loads and
// plays into the set (counting the learned play pairs), and asks for a new
// ranking when the focus or what the ranking reads has changed.
//
// Uses the live mirror, the watching session, the lanes, the set record, the
// library's index, the one-click setting and the diagnostics. Threads: main
// thread only. Units: monotonic seconds for evidence times.
class EngineUpdates {
 public:
  EngineUpdates(const ModelPorts& ports, ModelParts parts);

  void apply(const EngineUpdate& update);
  // The focus moved elsewhere: the lanes and their cursors start afresh.
  void focusMoved(const std::optional<Focus>& focus);

 private:
  // Loads and plays into the set; answers the evidence time of the update's last load.
  std::optional<double> recordEvents(const EngineUpdate& update);
  void followFocus(const EngineUpdate& update, std::optional<double> loadEvidenceAt, bool othersUnchanged);

  ModelParts parts_;
  std::shared_ptr<WallClock> wallClock_;
  std::shared_ptr<LoaderPort> loader_;
};

}  // namespace kesta::model
