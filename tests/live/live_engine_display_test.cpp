// The live engine following a DJ set on the stand-in rekordbox window under a
// private X server: real capture, real recognition, real time. The machine
// may be busy, so time-outs are generous and only what happened is asserted.

#include <gtest/gtest.h>

#include <iostream>

#include "library/text_tools.h"
#include "live/scripted_set.h"
#include "platform/text/numbers.h"
#include "support/xvfb_server.h"

namespace kesta {
namespace {

using test::SetStep;
using test::StandInRekordbox;
using test::UpdateLog;

constexpr double kConfirmLimit = 20.0;

std::string describeStep(const SetStep& step) {
  const std::string what = !step.track ? "unload"
                           : step.track->id.empty()
                               ? "load \"" + step.track->title + "\" (not in the library)"
                               : "load " + step.track->id;
  return what + " on deck " + std::to_string(step.deck);
}

// Every load and unload the engine reported, in order, as "load d2 103",
// "load d1 unmatched", "unload d2"; initial contents as "initial d1 101".
std::vector<std::string> changesIn(const std::vector<UpdateLog::Entry>& entries) {
  const auto contentText = [](const DeckContent& content) {
    if (const auto* track = content.as<DeckContent::Track>()) return track->id;
    return std::string(content.caseName());
  };
  std::vector<std::string> out;
  for (const auto& entry : entries) {
    for (const auto& event : entry.update.events) {
      if (const auto* e = event.as<TrackerEvent::Initial>())
        out.push_back("initial d" + std::to_string(e->deck) + " " + contentText(e->content));
      if (const auto* e = event.as<TrackerEvent::Load>())
        out.push_back("load d" + std::to_string(e->deck) + " " + contentText(e->content));
      if (const auto* e = event.as<TrackerEvent::Unload>())
        out.push_back("unload d" + std::to_string(e->deck));
    }
  }
  return out;
}

std::vector<std::string> scriptedChanges(const std::vector<SetStep>& steps) {
  std::vector<std::string> out{"initial d1 101", "initial d2 102"};
  for (const auto& step : steps) {
    const std::string deck = "d" + std::to_string(step.deck);
    if (!step.track)
      out.push_back("unload " + deck);
    else
      out.push_back("load " + deck + " " + (step.track->id.empty() ? "unmatched" : step.track->id));
  }
  return out;
}

class LiveEngineDisplayTest : public ::testing::Test {
 protected:
  void startFollowing() {
    engine = test::followingEngine(server.display(), index);
    engine->start([log = log](EngineUpdate update) { log->add(std::move(update)); });
  }

  void TearDown() override { test::release(engine); }

  // Plays the scripted set of `tracks` with the two unlisted ones and checks
  // that the engine follows it load by load.
  void followSet(const std::vector<test::SetTrack>& tracks, const test::SetTrack& unlisted1,
                 const test::SetTrack& unlisted2);

  test::XvfbServer server;
  LibraryIndex index{test::setLibrary()};
  std::shared_ptr<UpdateLog> log = std::make_shared<UpdateLog>();
  std::shared_ptr<LiveEngine> engine;
};

void LiveEngineDisplayTest::followSet(const std::vector<test::SetTrack>& tracks,
                                      const test::SetTrack& unlisted1, const test::SetTrack& unlisted2) {
  index = LibraryIndex(test::setLibrary(tracks));
  const auto track = [&](const std::string& id) { return test::setTrack(id, tracks); };
  StandInRekordbox window(server.display());
  window.load(1, test::shownTrack(track("101"), 12));
  window.send("play 1");
  window.load(2, test::shownTrack(track("102")));
  const double playingFrom = Clock::now();
  startFollowing();

  // Two loaded decks at start: both confirmed, and no deck is guessed to be the one played.
  const auto bothKnown = log->waitFor(
      0,
      [](const EngineUpdate& u) {
        return u.decks[0] == DeckContent::track("101") && u.decks[1] == DeckContent::track("102");
      },
      kConfirmLimit);
  ASSERT_TRUE(bothKnown) << "the two-deck start-up was never confirmed";
  EXPECT_EQ(bothKnown->second.update.phase, TrackerPhase::ambiguousStartup);
  EXPECT_FALSE(bothKnown->second.update.focus);

  const auto steps = test::setSteps(tracks, unlisted1, unlisted2);
  for (std::size_t i = 0; i < steps.size(); ++i) {
    // Deck 1 has played since the start; give its clock 30 s before it is replaced.
    if (steps[i].deck == 1 && i > 0 && steps[i - 1].deck == 2) {
      const auto played = log->waitFor(
          0, [](const EngineUpdate& u) { return test::hasEvent<TrackerEvent::PlayEvidence>(u, 1); },
          std::max(0.0, playingFrom + 45.0 - Clock::now()));
      ASSERT_TRUE(played) << "no play evidence for deck 1 after its clock ran";
      EXPECT_GE(played->second.receivedAt - playingFrom, 29.0) << "play evidence before 30 s of play";
    }

    const auto outcome = test::playStep(window, *log, steps[i], kConfirmLimit);
    SCOPED_TRACE("step " + std::to_string(i + 1) + ": " + describeStep(steps[i]));
    ASSERT_TRUE(outcome.confirmation) << "not confirmed within " << kConfirmLimit << " s";
    const EngineUpdate& update = *outcome.confirmation;
    EXPECT_TRUE(
        test::sameContent(update.decks[std::size_t(steps[i].deck - 1)], test::expectedContent(steps[i])));
    if (steps[i].track) {
      ASSERT_TRUE(update.focus);
      EXPECT_EQ(update.focus->deck, steps[i].deck);
      EXPECT_EQ(update.focus->kind, FocusKind::load);
    }
    std::cout << "  " << describeStep(steps[i]) << ": confirmed after "
              << numbers::formatFixed(outcome.latency, 2) << " s\n";
  }
  engine->stop();

  // Exactly the scripted changes, in order: none missed, none made up.
  const auto entries = log->entries();
  EXPECT_EQ(changesIn(entries), scriptedChanges(steps));
  for (const auto& entry : entries) {
    // The scan records carry no screen text unless the user asked for it.
    EXPECT_FALSE(entry.update.scan.rawText);
    for (const auto& line : entry.update.scan.events) {
      for (const auto& unlisted : {unlisted1, unlisted2}) {
        EXPECT_EQ(TextTools::normalized(line).find(TextTools::normalized(unlisted.title)), std::string::npos)
            << line;
      }
    }
    for (const auto& event : entry.update.events) {
      if (const auto* e = event.as<TrackerEvent::PlayEvidence>()) {
        EXPECT_EQ(*e, (TrackerEvent::PlayEvidence{1, "101"})) << "only deck 1's first track ran 30 s";
      }
    }
  }
}

TEST_F(LiveEngineDisplayTest, FollowsAScriptedSetLoadByLoad) {
  followSet(test::setTracks(), test::kUnlisted1, test::kUnlisted2);
}

// Titles in Korean, Arabic, Hebrew and Thai, some with a version in Latin
// letters: read with the languages the library calls for, every load
// followed and none made up.
TEST_F(LiveEngineDisplayTest, FollowsASetOfTitlesInScriptsBeyondLatin) {
  followSet(test::scriptSetTracks(), test::kScriptUnlisted1, test::kScriptUnlisted2);
}

// One library holding all six scripts: each line is read with the model of
// its own script, a title that begins in Latin letters and ends in Arabic or
// Hebrew is found in the order it was drawn, and no load is made up.
TEST_F(LiveEngineDisplayTest, FollowsASetFromALibraryOfEveryScript) {
  followSet(test::everyScriptSetTracks(), test::kEveryScriptUnlisted1, test::kEveryScriptUnlisted2);
}

// rekordbox quits and starts again: the stored window is gone, so capture
// fails and connecting is retried until the new window is there. And a
// window that stays but shows no decks any more (an old instance going down
// while a new one comes up) is left by the forced reconnect after 5 s of
// unreadable decks.
TEST_F(LiveEngineDisplayTest, FindsRekordboxAgainAfterItRestarts) {
  auto window = std::make_unique<StandInRekordbox>(server.display());
  window->load(1, test::shownTrack(test::setTrack("107")));
  startFollowing();
  const auto following = [](const std::string& id) {
    return [id](const EngineUpdate& u) { return u.decks[0] == DeckContent::track(id) && !u.scan.failure; };
  };
  ASSERT_TRUE(log->waitFor(0, following("107"), kConfirmLimit));

  window->quit();
  window.reset();
  const auto lost = log->waitFor(
      log->size(), [](const EngineUpdate& u) { return u.scan.failure.has_value(); }, kConfirmLimit);
  ASSERT_TRUE(lost) << "the closed window was still captured";
  EXPECT_FALSE(lost->second.update.frame);

  window = std::make_unique<StandInRekordbox>(server.display());
  window->load(1, test::shownTrack(test::setTrack("108")));
  const auto back = log->waitFor(lost->first, following("108"), kConfirmLimit);
  ASSERT_TRUE(back) << "the engine did not find the restarted window";
  EXPECT_EQ(back->second.update.health, ReaderHealth::reading());

  // The old window stays on screen, blank; the new one is larger.
  StandInRekordbox::Options larger;
  larger.width = 1700;
  larger.height = 1060;
  StandInRekordbox next(server.display(), larger);
  next.load(1, test::shownTrack(test::setTrack("109")));
  const std::size_t blankFrom = log->size();
  window->send("blank on");
  const auto reconnect = log->waitFor(
      blankFrom,
      [](const EngineUpdate& u) {
        return std::find(u.scan.events.begin(), u.scan.events.end(), "reconnect: decks unreadable") !=
               u.scan.events.end();
      },
      kConfirmLimit);
  ASSERT_TRUE(reconnect) << "no forced reconnect while the decks were unreadable";
  EXPECT_TRUE(reconnect->second.update.health.as<ReaderHealth::CannotSeeDecks>());
  const auto found = log->waitFor(reconnect->first, following("109"), kConfirmLimit);
  ASSERT_TRUE(found) << "the forced reconnect did not find the new window";
  EXPECT_EQ(found->second.update.health, ReaderHealth::reading());
}

}  // namespace
}  // namespace kesta
