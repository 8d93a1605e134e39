#pragma once

#include <ostream>

#include "live/deck_content.h"
#include "live/deck_motion.h"
#include "live/focus.h"
#include "live/frame.h"
#include "live/tracker_event.h"
#include "live/tracker_phase.h"
#include "platform/json/json_coding.h"

// Failure messages show tracker records in their stored JSON form.
namespace kesta {

inline void PrintTo(const DeckContent& value, std::ostream* os) { *os << json::write(value.toJson()); }
inline void PrintTo(const Focus& value, std::ostream* os) { *os << json::write(value.toJson()); }
inline void PrintTo(const TrackerEvent& value, std::ostream* os) { *os << json::write(value.toJson()); }
inline void PrintTo(const DeckObservation& value, std::ostream* os) { *os << json::write(value.toJson()); }
inline void PrintTo(const Frame& value, std::ostream* os) { *os << json::write(value.toJson()); }
inline void PrintTo(const DeckMotion& value, std::ostream* os) {
  *os << "category " << value.category() << " seconds " << value.seconds;
}
inline void PrintTo(TrackerPhase value, std::ostream* os) { *os << caseName(value); }

}  // namespace kesta
