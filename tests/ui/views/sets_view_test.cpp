#include "ui/views/sets_view.h"

#include <gtest/gtest.h>

#include <QTest>
#include <fstream>
#include <sstream>

#include "store/atomic_file.h"
#include "support/test_paths.h"
#include "ui/look/chip_button.h"
#include "ui/views/fake_driven_model.h"
#include "ui/views/sample_library.h"
#include "ui/views/set_card.h"
#include "ui/views/text_line.h"

namespace kesta::ui {
namespace {

using Kind = SetEvent::Kind;

Date utc(double unixSeconds) { return Date::fromUnixSeconds(unixSeconds); }

std::string golden(const std::string& name) {
  std::ifstream in(kesta::test::sourceDir() / "tests" / "model" / "golden" / name, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The events behind the stored golden set history: five loads, three of them
// played, four shown by a lane first.
DJSet goldenSet() {
  const auto track = [](std::string id, std::string title, std::string artist) {
    return test::sampleTrack(std::move(id), std::move(title), std::move(artist), 124, "8A");
  };
  const Track opening = track("1", "Opening \"Night\" Drive", "Kasra, Dan");
  const Track twoLines = track("2", "Two\nLines", "Ödön Ñu");
  const Track plain = track("3", "Plain", "Artist");
  const Track quote = track("4", "\"", "");
  const Track late = track("5", "Late", "X");
  DJSet set = DJSet::started(utc(1773549000));
  set.events = {SetEvent::make(Kind::shown, utc(1773549000), &opening, Lane::groove),
                SetEvent::make(Kind::loaded, utc(1773549009.75), &opening, std::nullopt, 1),
                SetEvent::make(Kind::played, utc(1773549100), &opening, std::nullopt, 1),
                SetEvent::make(Kind::loaded, utc(1773549291), &twoLines, std::nullopt, 2),
                SetEvent::make(Kind::shown, utc(1773549600), &plain, Lane::raise),
                SetEvent::make(Kind::loaded, utc(1773549660), &plain, std::nullopt, 1),
                SetEvent::make(Kind::played, utc(1773549700), &plain, std::nullopt, 1),
                SetEvent::make(Kind::shown, utc(1773550000), &quote, Lane::breather),
                SetEvent::make(Kind::loaded, utc(1773550050), &quote, std::nullopt, 2),
                SetEvent::make(Kind::shown, utc(1773532700), &late, Lane::pivot),
                SetEvent::make(Kind::loaded, utc(1773532799), &late, std::nullopt, 1),
                SetEvent::make(Kind::played, utc(1773532900), &late, std::nullopt, 1)};
  set.endedAt = utc(1773550100);
  return set;
}

DJSet legacySet() {
  const Track old = test::sampleTrack("6", "From Before", "Earlier", 120, "1A");
  DJSet set = DJSet::started(utc(1760000000));
  set.legacy = true;
  set.events = {SetEvent::make(Kind::loaded, utc(1760000100), &old, std::nullopt, 1)};
  return set;
}

class SetsViewTest : public ::testing::Test {
 protected:
  test::FakeDrivenModel fake;
};

TEST_F(SetsViewTest, NewEmptySetIsTheOnlyCard) {
  SetsView view(fake.bridge());
  view.show();
  ASSERT_EQ(view.cards().size(), 1u);
  SetCard* card = view.cards()[0];
  EXPECT_TRUE(card->showsCurrentMark());
  EXPECT_FALSE(card->showsLegacyMark());
  EXPECT_FALSE(card->exportButton()->isEnabled());
  EXPECT_TRUE(card->rows().empty());
  EXPECT_EQ(view.size(), QSize(520, 460));

  QTest::mouseClick(card->exportButton(), Qt::LeftButton);
  EXPECT_TRUE(fake.panels->saveRequests.empty());
}

TEST_F(SetsViewTest, CurrentAndEarlierSetsNewestFirstAndExportOfOne) {
  const Track recent = test::samplePlaying();
  DJSet active = DJSet::started(fake.wall->date);
  active.events = {SetEvent::make(Kind::loaded, fake.wall->date, &recent, std::nullopt, 1)};
  fake.store->saveActiveSet(active);
  fake.store->saveArchivedSets({goldenSet(), legacySet()});

  SetsView view(fake.bridge());
  view.show();
  ASSERT_EQ(view.cards().size(), 3u);
  EXPECT_EQ(view.cards()[0]->setID(), active.id);
  EXPECT_TRUE(view.cards()[0]->showsCurrentMark());
  EXPECT_FALSE(view.cards()[1]->showsCurrentMark());
  EXPECT_FALSE(view.cards()[1]->showsLegacyMark());
  EXPECT_TRUE(view.cards()[2]->showsLegacyMark());
  EXPECT_EQ(view.cards()[1]->rows().size(), 5u);
  EXPECT_EQ(view.cards()[2]->rows().size(), 1u);

  const auto file = fake.dataDir() / "exported.csv";
  fake.panels->answers.push_back(file);
  QTest::mouseClick(view.cards()[1]->exportButton(), Qt::LeftButton);
  ASSERT_EQ(fake.panels->saveRequests.size(), 1u);
  const std::string expected = golden("set_history.csv");
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(AtomicFile::read(file), expected);
}

TEST_F(SetsViewTest, RowsKeepTheirColumnsAndTheListFollowsTheModel) {
  const Track recent = test::samplePlaying();
  DJSet active = DJSet::started(fake.wall->date);
  active.events = {SetEvent::make(Kind::loaded, fake.wall->date, &recent, std::nullopt, 1)};
  fake.store->saveActiveSet(active);
  const DJSet stored = goldenSet();
  fake.store->saveArchivedSets({stored});
  SetsView view(fake.bridge());
  view.show();
  QApplication::processEvents();
  SetCard* golden = view.cards().at(1);
  for (QWidget* row : golden->rows()) {
    const auto lines = row->findChildren<TextLine*>(Qt::FindDirectChildrenOnly);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0]->width(), 58);
    EXPECT_EQ(lines[3]->width(), 50);
  }
  const auto second = golden->rows()[1]->findChildren<TextLine*>(Qt::FindDirectChildrenOnly);
  EXPECT_EQ(second[2]->text(), QStringLiteral("loaded"));
  EXPECT_EQ(second[3]->text(), QString());
  const auto first = golden->rows()[0]->findChildren<TextLine*>(Qt::FindDirectChildrenOnly);
  EXPECT_EQ(first[2]->text(), QStringLiteral("played"));
  EXPECT_EQ(first[3]->text(), QStringLiteral("GROOVE"));

  // Ending the set archives it: a new, empty current card comes first.
  fake.model().endSet();
  ASSERT_EQ(view.cards().size(), 3u);
  EXPECT_TRUE(view.cards()[0]->showsCurrentMark());
  EXPECT_TRUE(view.cards()[0]->rows().empty());
  EXPECT_EQ(view.cards()[1]->setID(), active.id);
  EXPECT_FALSE(view.cards()[1]->showsCurrentMark());
  EXPECT_EQ(view.cards()[2]->setID(), stored.id);
}

}  // namespace
}  // namespace kesta::ui
