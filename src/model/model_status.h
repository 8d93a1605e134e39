#pragma once

#include <memory>
#include <string>

#include "model/model_parts.h"
#include "model/model_ports.h"
#include "model/status_text.h"

namespace kesta::model {

// The status line, the compact status and the corner card's heading, read
// from the state of every part by the status rules; and the DJ's flag of a
// wrongly followed track.
//
// Uses every part's published state, the notices and the diagnostics.
// Threads: main thread only.
class ModelStatus {
 public:
  ModelStatus(const ModelPorts& ports, ModelParts parts) : parts_(parts), dayFormatter_(ports.dayFormatter) {}

  std::string status(bool compact) const { return statusText(inputs(), compact); }
  CardHeading cardHeading() const { return model::cardHeading(inputs()); }
  // Records the flag, saves the diagnostics and says what to do next.
  void flagWrongTrack();

 private:
  // The state the status rules read, borrowed from the parts for one call.
  StatusInputs inputs() const;

  ModelParts parts_;
  std::shared_ptr<DayFormatter> dayFormatter_;
};

}  // namespace kesta::model
