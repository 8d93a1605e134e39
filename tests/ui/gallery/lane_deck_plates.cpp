#include <QBoxLayout>

#include "ui/gallery/plate.h"
#include "ui/look/status_text.h"
#include "ui/views/card_lane_row.h"
#include "ui/views/deck_card.h"
#include "ui/views/lane_row.h"
#include "ui/views/load_button.h"
#include "ui/views/load_undo.h"
#include "ui/views/now_playing.h"
#include "ui/views/sample_library.h"
#include "ui/views/sets_view.h"

namespace kesta::ui::gallery {

namespace {

using test::FakeDrivenModel;
using test::sampleFocus;

// Keeps a fake-driven model alive as long as the plate that shows it.
class ModelKeeper : public QObject {
 public:
  explicit ModelKeeper(QObject* parent) : QObject(parent), model(std::make_unique<FakeDrivenModel>()) {}
  std::unique_ptr<FakeDrivenModel> model;
};

FakeDrivenModel& keep(QWidget& plate) { return *(new ModelKeeper(&plate))->model; }

// Widths of the windows the views sit in.
constexpr int kFullWidth = 348;
constexpr int kCardWidth = 326;

template <class View>
View* sized(View* view, int width) {
  view->setFixedWidth(width);
  return view;
}

// Followed, with the groove lane's first option carrying a very long title and artist.
void followLongTitle(FakeDrivenModel& fake) {
  std::vector<Track> tracks = test::sampleLibrary();
  tracks[1].title =
      "The Extraordinarily Long Extended Twelve Inch Club Mix Of A Track Whose Title Never Seems To End";
  tracks[1].artist = "A Collective Of Far Too Many Featured Artists And Remixers";
  fake.install(tracks);
  fake.model().setOneClickLoad(true);
  fake.connect();
  fake.scan({DeckContent::track("1"), DeckContent::track("8")}, sampleFocus(1, DeckContent::track("1")),
            TrackerPhase::following, {DeckMotion::running(), DeckMotion::stopped(3)});
}

// Connected and following a track that no lane has anything for.
void followLonely(FakeDrivenModel& fake) {
  fake.install({test::sampleTrack("1", "Only One", "Solo", 124, "8A")});
  fake.connect();
  fake.scan({DeckContent::track("1"), DeckContent::empty()}, sampleFocus(1, DeckContent::track("1")));
}

std::unique_ptr<QWidget> laneRows() {
  auto plate = std::make_unique<Plate>(QStringLiteral("LANE ROWS"));
  FakeDrivenModel& following = keep(*plate);
  test::followSample(following);
  for (const Lane lane : Lane::allCases()) {
    plate->addRow(QString::fromUtf8(lane.title().data()),
                  {sized(new LaneRow(following.bridge(), lane), kFullWidth)});
  }
  FakeDrivenModel& longTitle = keep(*plate);
  followLongTitle(longTitle);
  plate->addRow(QStringLiteral("long title"),
                {sized(new LaneRow(longTitle.bridge(), Lane::groove), kFullWidth)});
  FakeDrivenModel& off = keep(*plate);
  test::followSample(off);
  off.model().setOneClickLoad(false);
  plate->addRow(QStringLiteral("one-click off"), {sized(new LaneRow(off.bridge(), Lane::pivot), kFullWidth)});
  FakeDrivenModel& fresh = keep(*plate);
  fresh.install(test::sampleLibrary());
  plate->addRow(QStringLiteral("nothing followed"),
                {sized(new LaneRow(fresh.bridge(), Lane::groove), kFullWidth)});
  plate->addRow(QStringLiteral(""), {sized(new LaneRow(fresh.bridge(), Lane::raise), kFullWidth)});
  FakeDrivenModel& lonely = keep(*plate);
  followLonely(lonely);
  plate->addRow(QStringLiteral("empty lane"),
                {sized(new LaneRow(lonely.bridge(), Lane::groove), kFullWidth)});
  plate->addRow(QStringLiteral(""), {sized(new LaneRow(lonely.bridge(), Lane::pivot), kFullWidth)});
  FakeDrivenModel& ranking = keep(*plate);
  followLonely(ranking);
  ranking.model().endSet();  // ranks again, and the ranking stays under way for the picture
  plate->addRow(QStringLiteral("ranking"),
                {sized(new LaneRow(ranking.bridge(), Lane::breather), kFullWidth)});
  return plate;
}

std::unique_ptr<QWidget> cardLaneRows() {
  auto plate = std::make_unique<Plate>(QStringLiteral("CARD LANE ROWS"), 500);
  FakeDrivenModel& following = keep(*plate);
  test::followSample(following);
  for (const Lane lane : Lane::allCases()) {
    plate->addRow(QString::fromUtf8(lane.title().data()),
                  {sized(new CardLaneRow(following.bridge(), lane), kCardWidth)});
  }
  FakeDrivenModel& longTitle = keep(*plate);
  followLongTitle(longTitle);
  plate->addRow(QStringLiteral("long title"),
                {sized(new CardLaneRow(longTitle.bridge(), Lane::groove), kCardWidth)});
  FakeDrivenModel& off = keep(*plate);
  test::followSample(off);
  off.model().setOneClickLoad(false);
  plate->addRow(QStringLiteral("one-click off"),
                {sized(new CardLaneRow(off.bridge(), Lane::raise), kCardWidth)});
  FakeDrivenModel& lonely = keep(*plate);
  followLonely(lonely);
  plate->addRow(QStringLiteral("empty lane"),
                {sized(new CardLaneRow(lonely.bridge(), Lane::groove), kCardWidth)});
  FakeDrivenModel& fresh = keep(*plate);
  plate->addRow(QStringLiteral("nothing followed"),
                {sized(new CardLaneRow(fresh.bridge(), Lane::groove), kCardWidth)});
  return plate;
}

std::unique_ptr<QWidget> loadButtons() {
  auto plate = std::make_unique<Plate>(QStringLiteral("LOAD BUTTONS AND UNDO"));
  const auto suggestion = [](FakeDrivenModel& fake, Lane lane) {
    return fake.model().suggestion(lane).value();
  };
  FakeDrivenModel& allowed = keep(*plate);
  test::followSample(allowed);
  FakeDrivenModel& confirm = keep(*plate);
  test::followSample(confirm, true);
  FakeDrivenModel& refused = keep(*plate);
  test::followSample(refused);
  const Suggestion refusedOne = suggestion(refused, Lane::groove);
  refused.model().stopWatching();
  plate->addRow(QStringLiteral("allowed, playing, refused"),
                {new LoadButton(allowed.bridge(), suggestion(allowed, Lane::groove)),
                 new LoadButton(confirm.bridge(), suggestion(confirm, Lane::groove)),
                 new LoadButton(refused.bridge(), refusedOne)});

  FakeDrivenModel& loading = keep(*plate);
  test::followSample(loading);
  loading.model().load(suggestion(loading, Lane::groove));
  plate->addRow(QStringLiteral("loading, another waits"),
                {new LoadButton(loading.bridge(), suggestion(loading, Lane::groove)),
                 new LoadButton(loading.bridge(), suggestion(loading, Lane::raise))});

  FakeDrivenModel& failed = keep(*plate);
  test::followSample(failed);
  failed.model().load(suggestion(failed, Lane::groove));
  failed.loader->failWith("rekordbox did not answer in time");
  auto* status = new StatusText(QString::fromStdString(failed.model().statusLine()), 2);
  status->setFixedWidth(240);
  plate->addRow(QStringLiteral("failed load"),
                {new LoadButton(failed.bridge(), suggestion(failed, Lane::groove)), status});

  FakeDrivenModel& hidden = keep(*plate);
  test::followSample(hidden);
  hidden.model().dismiss(suggestion(hidden, Lane::raise));
  plate->addRow(QStringLiteral("undo a hide"), {new LoadUndo(hidden.bridge())});
  return plate;
}

std::unique_ptr<QWidget> deckCards() {
  auto plate = std::make_unique<Plate>(QStringLiteral("DECK CARDS"));
  const auto pair = [&plate](const QString& caption, FakeDrivenModel& fake) {
    plate->addRow(caption,
                  {sized(new DeckCard(fake.bridge(), 1), 170), sized(new DeckCard(fake.bridge(), 2), 170)});
  };
  FakeDrivenModel& before = keep(*plate);
  before.install(test::sampleLibrary());
  pair(QStringLiteral("not connected"), before);

  FakeDrivenModel& following = keep(*plate);
  following.install(test::sampleLibrary());
  following.connect();
  following.scan({DeckContent::track("1"), DeckContent::track("6")}, sampleFocus(1, DeckContent::track("1")),
                 TrackerPhase::following, {}, {1});
  pair(QStringLiteral("following, checking"), following);

  FakeDrivenModel& odd = keep(*plate);
  odd.install(test::sampleLibrary());
  odd.connect();
  const DeckContent versions = DeckContent::ambiguous({"1", "11", "12"});
  odd.scan({versions, DeckContent::unmatched("White Label Edit")}, sampleFocus(1, versions));
  pair(QStringLiteral("ambiguous, unmatched"), odd);

  FakeDrivenModel& reading = keep(*plate);
  reading.install(test::sampleLibrary());
  reading.connect();
  reading.scan({DeckContent::empty(), DeckContent::unknown()}, std::nullopt, TrackerPhase::waiting);
  pair(QStringLiteral("empty, reading"), reading);

  FakeDrivenModel& longTitle = keep(*plate);
  followLongTitle(longTitle);
  longTitle.scan({DeckContent::track("1"), DeckContent::track("2")},
                 sampleFocus(2, DeckContent::track("2"), 2));
  pair(QStringLiteral("long title"), longTitle);
  return plate;
}

std::unique_ptr<QWidget> nowPlaying() {
  auto plate = std::make_unique<Plate>(QStringLiteral("NOW PLAYING"));
  const auto add = [&plate](const QString& caption, FakeDrivenModel& fake) {
    plate->addRow(caption, {sized(new NowPlaying(fake.bridge()), kFullWidth)});
  };
  FakeDrivenModel& playing = keep(*plate);
  test::followSample(playing);
  add(QStringLiteral("following"), playing);
  FakeDrivenModel& longTitle = keep(*plate);
  followLongTitle(longTitle);
  longTitle.scan({DeckContent::track("1"), DeckContent::track("2")},
                 sampleFocus(2, DeckContent::track("2"), 2));
  add(QStringLiteral("long title"), longTitle);
  FakeDrivenModel& versions = keep(*plate);
  versions.install(test::sampleLibrary());
  versions.connect();
  const DeckContent three = DeckContent::ambiguous({"1", "11", "12"});
  versions.scan({DeckContent::empty(), three}, sampleFocus(2, three));
  add(QStringLiteral("ambiguous deck"), versions);
  FakeDrivenModel& startup = keep(*plate);
  startup.install(test::sampleLibrary());
  startup.connect();
  startup.scan({DeckContent::track("1"), DeckContent::track("2")}, std::nullopt,
               TrackerPhase::ambiguousStartup);
  add(QStringLiteral("which deck"), startup);
  FakeDrivenModel& unmatched = keep(*plate);
  unmatched.install(test::sampleLibrary());
  unmatched.connect();
  const DeckContent bootleg = DeckContent::unmatched("White Label Edit");
  unmatched.scan({DeckContent::empty(), bootleg}, sampleFocus(2, bootleg));
  add(QStringLiteral("not in library"), unmatched);
  FakeDrivenModel& waiting = keep(*plate);
  waiting.install(test::sampleLibrary());
  waiting.connect();
  add(QStringLiteral("waiting"), waiting);
  FakeDrivenModel& off = keep(*plate);
  add(QStringLiteral("not connected"), off);
  return plate;
}

// The set being recorded, an archived set and one of the earlier version.
void storeSets(FakeDrivenModel& fake) {
  using Kind = SetEvent::Kind;
  const std::vector<Track> tracks = test::sampleLibrary();
  const double now = fake.wall->date.unixSeconds();
  const auto at = [now](double minutesAgo) { return Date::fromUnixSeconds(now - minutesAgo * 60); };
  DJSet active = DJSet::started(at(40));
  active.events = {SetEvent::make(Kind::shown, at(39), &tracks[1], Lane::groove),
                   SetEvent::make(Kind::loaded, at(38), &tracks[1], std::nullopt, 2),
                   SetEvent::make(Kind::played, at(35), &tracks[1], std::nullopt, 2),
                   SetEvent::make(Kind::loaded, at(30), &tracks[9], std::nullopt, 1)};
  // Titles whose marks reach furthest: the dots under a final yeh, Thai's
  // stacked tone marks, and Han in the forms of the desktop's language.
  const char* marked[] = {"ليالي الفضي في القاهرة", "น้ำตา ค่ำคืนที่กรุงเทพ", "直到世界尽头"};
  std::vector<Track> markedTracks;
  for (const char* title : marked) {
    markedTracks.push_back(tracks[2 + markedTracks.size()]);
    markedTracks.back().title = title;
  }
  for (std::size_t i = 0; i < markedTracks.size(); ++i) {
    active.events.push_back(
        SetEvent::make(Kind::loaded, at(25.0 - 5.0 * double(i)), &markedTracks[i], std::nullopt, 2));
  }
  Track longOne = tracks[4];
  longOne.title =
      "The Extraordinarily Long Extended Twelve Inch Club Mix Of A Track Whose Title Never Seems To End";
  DJSet earlier = DJSet::started(at(3000));
  earlier.events = {SetEvent::make(Kind::shown, at(2999), &longOne, Lane::raise),
                    SetEvent::make(Kind::loaded, at(2998), &longOne, std::nullopt, 1),
                    SetEvent::make(Kind::played, at(2990), &longOne, std::nullopt, 1),
                    SetEvent::make(Kind::shown, at(2985), &tracks[8], Lane::pivot),
                    SetEvent::make(Kind::loaded, at(2984), &tracks[8], std::nullopt, 2)};
  earlier.endedAt = at(2900);
  DJSet legacy = DJSet::started(at(90000));
  legacy.legacy = true;
  legacy.events = {SetEvent::make(Kind::loaded, at(89990), &tracks[6], std::nullopt, 1)};
  fake.store->saveActiveSet(active);
  fake.store->saveArchivedSets({earlier, legacy});
}

std::unique_ptr<QWidget> sets() {
  auto holder = std::make_unique<QWidget>();
  FakeDrivenModel& fake = keep(*holder);
  storeSets(fake);
  auto* view = new SetsView(fake.bridge(), holder.get());
  holder->setFixedSize(view->size());
  return holder;
}

std::unique_ptr<QWidget> emptySets() {
  auto holder = std::make_unique<QWidget>();
  FakeDrivenModel& fake = keep(*holder);
  auto* view = new SetsView(fake.bridge(), holder.get());
  holder->setFixedSize(view->size());
  return holder;
}

}  // namespace

std::vector<Shot> laneAndDeckShots() {
  return {{"views_lane_rows", laneRows},       {"views_card_lane_rows", cardLaneRows},
          {"views_load_buttons", loadButtons}, {"views_deck_cards", deckCards},
          {"views_now_playing", nowPlaying},   {"views_sets", sets},
          {"views_sets_empty", emptySets}};
}

}  // namespace kesta::ui::gallery
