// The records of the live tracker and of diagnostics, one by one: the first
// byte picks the record, the rest is its JSON text. Diagnostics files are read
// back through these decoders, so each must refuse damage without crashing and
// read back what it wrote.
#include <cstddef>
#include <cstdint>

#include "fuzz_input.h"
#include "live/deck_content.h"
#include "live/diagnostics_log.h"
#include "live/diagnostics_summary.h"
#include "live/focus.h"
#include "live/frame.h"
#include "live/load_latency.h"
#include "live/percentiles.h"
#include "live/scan_record.h"
#include "live/tracker_event.h"
#include "reading/deck_layout.h"
#include "reading/deck_observation.h"
#include "reading/deck_reading.h"
#include "reading/mixer_reading.h"
#include "round_trip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kesta;
  const auto input = fuzz::select(fuzz::text(data, size), 13);
  switch (input.which) {
    case 0:
      fuzz::decodeStored<DeckContent>(input.rest);
      break;
    case 1:
      fuzz::decodeStored<DiagnosticsLog>(input.rest);
      break;
    case 2:
      fuzz::decodeStored<DiagnosticsSummary>(input.rest);
      break;
    case 3:
      fuzz::decodeStored<Focus>(input.rest);
      break;
    case 4:
      fuzz::decodeStored<Frame>(input.rest);
      break;
    case 5:
      fuzz::decodeStored<LoadLatency>(input.rest);
      break;
    case 6:
      fuzz::decodeStored<Percentiles>(input.rest);
      break;
    case 7:
      fuzz::decodeStored<ScanRecord>(input.rest);
      break;
    case 8:
      fuzz::decodeStored<TrackerEvent>(input.rest);
      break;
    case 9:
      fuzz::decodeStored<DeckLayout>(input.rest);
      break;
    case 10:
      fuzz::decodeStored<DeckObservation>(input.rest);
      break;
    case 11:
      fuzz::decodeStored<DeckReading>(input.rest);
      break;
    case 12:
      fuzz::decodeStored<MixerReading>(input.rest);
      break;
  }
  return 0;
}
