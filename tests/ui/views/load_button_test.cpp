#include "ui/views/load_button.h"

#include <gtest/gtest.h>

#include <QBoxLayout>
#include <QTest>

#include "ui/views/load_undo.h"
#include "ui/views/meta_line.h"
#include "ui/views/sample_library.h"

namespace kesta::ui {
namespace {

using Fill = LoadButton::Look::Fill;
using model::LoadStatus;

TEST(LoadButtonLook, FollowsTheDecisionAndTheLoadUnderWay) {
  const QString allowedTip = QStringLiteral(
      "Load onto Deck 2 in rekordbox (experimental). Kesta takes the keyboard and mouse for about a second.");
  const QString confirmTip =
      QStringLiteral("Deck 1 is still playing. Click twice to load over it, only once it's faded out.");
  const QString refusal = QStringLiteral("Connect to rekordbox first.");
  const LoadDecision allowed = LoadDecision::allowed(2);
  const LoadDecision confirm = LoadDecision::needsConfirmation(1);
  const LoadDecision refused = LoadDecision::refused(refusal.toStdString());
  const LoadStatus idle = LoadStatus::idle();
  const LoadStatus loadingThis = LoadStatus::loading("7", 2);
  const LoadStatus loadingOther = LoadStatus::loading("8", 2);
  const LoadStatus done = LoadStatus::done("Loaded onto Deck 2.", true);
  const LoadStatus failed = LoadStatus::failed("Deck 2 is playing.");
  struct Case {
    const LoadDecision& decision;
    const LoadStatus& status;
    const char* title;
    bool enabled;
    Fill fill;
    const QString& tooltip;
  };
  const std::vector<Case> cases{
      {allowed, idle, "Load→D2", true, Fill::lime, allowedTip},
      {allowed, loadingThis, "…", false, Fill::raised, allowedTip},
      {allowed, loadingOther, "Load→D2", false, Fill::raised, allowedTip},
      {allowed, done, "Load→D2", true, Fill::lime, allowedTip},
      {allowed, failed, "Load→D2", true, Fill::lime, allowedTip},
      {confirm, idle, "Load→D1?", true, Fill::warn, confirmTip},
      {confirm, loadingThis, "…", false, Fill::raised, confirmTip},
      {confirm, loadingOther, "Load→D1?", false, Fill::raised, confirmTip},
      {confirm, done, "Load→D1?", true, Fill::warn, confirmTip},
      {confirm, failed, "Load→D1?", true, Fill::warn, confirmTip},
      {refused, idle, "Load", false, Fill::raised, refusal},
      {refused, loadingThis, "…", false, Fill::raised, refusal},
      {refused, loadingOther, "Load", false, Fill::raised, refusal},
      {refused, done, "Load", false, Fill::raised, refusal},
      {refused, failed, "Load", false, Fill::raised, refusal},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.title) + " / status " + std::to_string(c.status.value.index()));
    const LoadButton::Look look = LoadButton::look(c.decision, c.status, "7");
    EXPECT_EQ(look.title, QString::fromUtf8(c.title));
    EXPECT_EQ(look.enabled, c.enabled);
    EXPECT_EQ(look.fill, c.fill);
    EXPECT_EQ(look.tooltip, c.tooltip);
  }
  EXPECT_EQ(LoadButton::labelColor(Fill::raised), Theme::muted());
  EXPECT_EQ(LoadButton::labelColor(Fill::warn), QColor(Qt::black));
  EXPECT_EQ(LoadButton::fillColor(Fill::warn), Theme::warn());
}

TEST(MetaLine, WritesTempoAndKeyWithDashesForWhatIsMissing) {
  struct Case {
    std::optional<double> bpm;
    std::optional<std::string> key;
    const char* expected;
  };
  const std::vector<Case> cases{{124.0, "8A", "124 BPM · 8A"},
                                {123.5, "8A", "123.5 BPM · 8A"},
                                {std::nullopt, std::nullopt, "— BPM · —"},
                                {std::nullopt, "Fm", "— BPM · Fm"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(metaLine(test::sampleTrack("1", "T", "A", c.bpm, c.key)), QString::fromUtf8(c.expected));
  }
}

class LoadButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::followSample(fake);
    host.setFixedWidth(300);
  }
  Suggestion suggestion(Lane lane) { return fake.model().suggestion(lane).value(); }

  test::FakeDrivenModel fake;
  QWidget host;
};

TEST_F(LoadButtonTest, ClickLoadsThroughTheLoaderAndWaitsWhileItRuns) {
  auto* groove = new LoadButton(fake.bridge(), suggestion(Lane::groove), &host);
  auto* raise = new LoadButton(fake.bridge(), suggestion(Lane::raise), &host);
  raise->move(0, 40);
  host.show();
  EXPECT_EQ(groove->text(), QStringLiteral("Load→D2"));
  ASSERT_TRUE(groove->isEnabled());

  QTest::mouseClick(groove, Qt::LeftButton);

  ASSERT_EQ(fake.loader->loads.size(), 1u);
  EXPECT_EQ(fake.loader->loads[0].track.id, suggestion(Lane::groove).track.id);
  EXPECT_EQ(fake.loader->loads[0].deck, 2);
  EXPECT_EQ(groove->text(), QStringLiteral("…"));
  EXPECT_FALSE(groove->isEnabled());
  EXPECT_EQ(raise->text(), QStringLiteral("Load→D2"));
  EXPECT_FALSE(raise->isEnabled());
  EXPECT_EQ(raise->currentLook().fill, Fill::raised);

  fake.loader->failWith("rekordbox did not answer");
  EXPECT_TRUE(fake.model().loadStatus().is<LoadStatus::Failed>());
  EXPECT_EQ(groove->text(), QStringLiteral("Load→D2"));
  EXPECT_TRUE(raise->isEnabled());
}

TEST_F(LoadButtonTest, UndoChipTakesBackTheHideBeforeTheLoad) {
  LoadUndo undo(fake.bridge(), &host);
  host.show();
  EXPECT_TRUE(undo.isHidden());

  const Suggestion loaded = suggestion(Lane::groove);
  fake.model().load(loaded);
  fake.loader->succeed();
  fake.scan({DeckContent::track("1"), DeckContent::track(loaded.track.id)},
            test::sampleFocus(1, DeckContent::track("1")), TrackerPhase::following,
            {DeckMotion::running(), DeckMotion::stopped(0)});
  fake.scheduler->advance(0.25);
  const auto* done = fake.model().loadStatus().as<LoadStatus::Done>();
  ASSERT_TRUE(done && done->canUndo);
  EXPECT_FALSE(undo.isHidden());
  EXPECT_EQ(undo.target(), LoadUndo::Target::load);

  fake.model().dismiss(suggestion(Lane::raise));
  EXPECT_EQ(undo.target(), LoadUndo::Target::dismissal);
  EXPECT_EQ(undo.toolTip(), QStringLiteral("Show that track again"));
  // A chip made without a parent shows once a layout takes it in.
  auto* placed = new LoadUndo(fake.bridge());
  (new QHBoxLayout(&host))->addWidget(placed);
  QWidget later;  // laid out before its window shows
  auto* waiting = new LoadUndo(fake.bridge());
  (new QHBoxLayout(&later))->addWidget(waiting);
  QApplication::processEvents();
  later.show();
  EXPECT_FALSE(placed->isHidden());
  EXPECT_TRUE(waiting->isVisible());
  QTest::mouseClick(&undo, Qt::LeftButton);
  EXPECT_FALSE(fake.model().lastDismissed());
  EXPECT_TRUE(fake.loader->undos.empty());

  EXPECT_EQ(undo.target(), LoadUndo::Target::load);
  QTest::mouseClick(&undo, Qt::LeftButton);
  EXPECT_EQ(fake.loader->undos.size(), 1u);
}

}  // namespace
}  // namespace kesta::ui
