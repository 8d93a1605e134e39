// How long the live engine takes to confirm a load: the scripted set of the
// end-to-end test (a two-deck start-up, twenty loads across both decks, two
// of tracks not in the library, three unloads) played on the stand-in
// rekordbox window on a private Xvfb, followed by the engine's own loop in
// real time. Reports, per step, the time from the change being on screen to
// the update that confirms it, and the summary against the goals: at most
// 1.5 s for a library track, 3 s for a track not in the library.

#include <iostream>
#include <string>

#include "live/percentiles.h"
#include "live/scripted_set.h"
#include "platform/ocr/single_threaded_recognition.h"
#include "platform/text/numbers.h"
#include "support/xvfb_server.h"

namespace {

using namespace kesta;

std::string seconds(double value) { return numbers::formatFixed(value, 2) + " s"; }

std::string summary(const std::vector<double>& samples) {
  const Percentiles p(samples);
  return "n=" + std::to_string(p.count) + " p50=" + seconds(p.p50) + " p95=" + seconds(p.p95) +
         " max=" + seconds(p.max);
}

}  // namespace

int main(int, char** argv) {
  requireSingleThreadedRecognition(argv);
  test::XvfbServer server;
  test::StandInRekordbox window(server.display());
  window.load(1, test::shownTrack(test::setTrack("101")));
  window.load(2, test::shownTrack(test::setTrack("102")));
  const double startedAt = Clock::now();
  auto log = std::make_shared<test::UpdateLog>();
  auto engine = test::followingEngine(server.display(), LibraryIndex(test::setLibrary()));
  engine->start([log](EngineUpdate update) { log->add(std::move(update)); });

  const auto startup = log->waitFor(
      0,
      [](const EngineUpdate& u) {
        return u.decks[0] == DeckContent::track("101") && u.decks[1] == DeckContent::track("102");
      },
      30);
  if (!startup) {
    std::cerr << "the two-deck start-up was never confirmed\n";
    return 1;
  }
  std::cout << "two-deck start-up confirmed after " << seconds(startup->second.receivedAt - startedAt)
            << "\n";

  std::vector<double> library, unlisted, unloads;
  int missed = 0;
  for (const auto& step : test::setSteps()) {
    const auto outcome = test::playStep(window, *log, step, 20);
    const std::string what = !step.track              ? "unload"
                             : step.track->id.empty() ? "load (not in library)"
                                                      : "load " + step.track->id;
    std::cout << "deck " << step.deck << " " << what << ": ";
    if (!outcome.confirmation) {
      ++missed;
      std::cout << "not confirmed\n";
      continue;
    }
    std::cout << seconds(outcome.latency) << "\n";
    (!step.track ? unloads : step.track->id.empty() ? unlisted : library).push_back(outcome.latency);
  }
  test::release(engine);

  std::cout << "library track loads:  " << summary(library) << " (goal: max 1.50 s)\n"
            << "unlisted track loads: " << summary(unlisted) << " (goal: max 3.00 s)\n"
            << "unloads:              " << summary(unloads) << "\n"
            << "not confirmed:        " << missed << "\n";
  return missed == 0 ? 0 : 1;
}
