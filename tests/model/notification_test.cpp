#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "model/notifier.h"
#include "watching_fixture.h"

namespace kesta::test {
using namespace kesta::model;
namespace {

using NotificationTest = WatchingFixture;

ChangedFields unionOf(const std::vector<ChangedFields>& notifications) {
  ChangedFields all;
  for (const ChangedFields fields : notifications) all |= fields;
  return all;
}

// A load: deck 2 gets a track and the focus moves there, then the lanes are ranked for it.
TEST_F(NotificationTest, ALoadIsToldInOneNotificationForTheUpdateAndOneForTheRanking) {
  connect();
  EngineUpdate before =
      readingUpdate({DeckContent::track("1"), DeckContent::empty()}, focusOn(1, DeckContent::track("1"), 1));
  before.motion = {DeckMotion::running(), DeckMotion::empty()};
  deliver(before);
  executor->runAll();
  queue->drain();

  EngineUpdate load = readingUpdate({DeckContent::track("1"), DeckContent::track("2")},
                                    focusOn(2, DeckContent::track("2"), 2));
  load.events = {TrackerEvent::load(2, DeckContent::track("2"), DeckContent::empty(), 10)};
  notifications.clear();
  bool rankingWhenTold = false;
  model().addListener([&](ChangedFields) { rankingWhenTold = model().ranking(); });
  deliver(load);
  ASSERT_EQ(notifications.size(), 1u);
  EXPECT_TRUE(rankingWhenTold);  // told once the update was applied whole
  executor->runAll();
  queue->drain();

  EXPECT_EQ(notifications.size(), 2u);
  EXPECT_EQ(model().lanes().size(), 4u);
  const ChangedFields told = unionOf(notifications);
  for (const Field field : {Field::motion, Field::decks, Field::focus, Field::laneCursor, Field::lanes,
                            Field::ranking, Field::activeSet}) {
    EXPECT_TRUE(told.contains(field)) << static_cast<int>(field);
  }
}

// Each action of the DJ, and each answer it waits for, is one operation.
TEST_F(NotificationTest, EachActionAndEachAnswerIsToldOnce) {
  struct Row {
    const char* name;
    std::function<void()> act;
  };
  // The lanes of this small library stay empty: the dismissed track need not be shown.
  const auto opus = [this] { return Suggestion{Lane::groove, *model().index().track("3"), "why", {}}; };
  const Row rows[] = {
      {"dismiss", [&] { model().dismiss(opus()); }},
      {"undo the dismissal", [this] { model().undoDismiss(); }},
      {"rate", [this] { model().rate(*model().track(1), 4); }},
      {"end the set", [this] { model().endSet(); }},
      {"switch one-click load on", [this] { model().setOneClickLoad(true); }},
      {"follow the other deck",
       [this] {
         model().follow(2);
         notifications.clear();
         queue->drain();
       }},
      {"stop", [this] { model().stopWatching(); }},
      {"a load refused while stopped", [&] { model().load(opus()); }},
      {"the refusal's timed clear", [this] { scheduler->advance(10); }},
  };
  connect();
  deliver(readingUpdate({DeckContent::track("1"), DeckContent::track("2")},
                        focusOn(1, DeckContent::track("1"), 1)));
  executor->runAll();
  queue->drain();
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    notifications.clear();
    row.act();
    EXPECT_EQ(notifications.size(), 1u);
    executor->runAll();
    queue->drain();
  }
}

TEST(NotifierTest, BatchesMergeAndTheOutermostEndTellsOnce) {
  struct Row {
    const char* name;
    void (*operation)(Notifier&);
    std::vector<std::uint64_t> told;
  };
  const auto bits = [](std::initializer_list<Field> fields) {
    ChangedFields mask;
    for (const Field field : fields) mask |= field;
    return mask.bits();
  };
  const Row rows[] = {
      {"outside a batch, each change at once",
       [](Notifier& n) {
         n.changed(Field::decks);
         n.changed(Field::focus);
       },
       {bits({Field::decks}), bits({Field::focus})}},
      {"one batch",
       [](Notifier& n) {
         const Notifier::Batch batch(n);
         n.changed(Field::decks);
         n.changed(Field::focus);
         n.changed(Field::decks);
       },
       {bits({Field::decks, Field::focus})}},
      {"nested batches",
       [](Notifier& n) {
         const Notifier::Batch outer(n);
         n.changed(Field::lanes);
         {
           const Notifier::Batch inner(n);
           n.changed(Field::ranking);
         }
         n.changed(Field::activeSet);
       },
       {bits({Field::lanes, Field::ranking, Field::activeSet})}},
      {"a batch without changes", [](Notifier& n) { const Notifier::Batch batch(n); }, {}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Notifier notifier;
    std::vector<std::uint64_t> told;
    notifier.addListener([&](ChangedFields fields) { told.push_back(fields.bits()); });
    row.operation(notifier);
    EXPECT_EQ(told, row.told);
  }
}

// A listener that changes the model while being told: every listener hears
// the first mask before anyone hears the second.
TEST(NotifierTest, ChangesMadeByAListenerAreToldAfterEveryoneHeardTheCurrentOnes) {
  Notifier notifier;
  std::vector<std::string> heard;
  notifier.addListener([&](ChangedFields fields) {
    heard.push_back("a" + std::to_string(fields.bits()));
    if (fields.contains(Field::decks)) notifier.changed(Field::focus);
  });
  notifier.addListener([&](ChangedFields fields) { heard.push_back("b" + std::to_string(fields.bits())); });
  notifier.changed(Field::decks);
  const std::string decks = std::to_string(ChangedFields(Field::decks).bits());
  const std::string focus = std::to_string(ChangedFields(Field::focus).bits());
  EXPECT_EQ(heard, (std::vector<std::string>{"a" + decks, "b" + decks, "a" + focus, "b" + focus}));
}

}  // namespace
}  // namespace kesta::test
