// The loader driving the stand-in rekordbox window on a private X server, as
// it drives rekordbox: real activation, keys, clipboard, clicks, capture and
// recognition, with the live engine watching the decks. The machine may be
// busy, so time-outs are generous.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <chrono>
#include <cstdlib>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "live/scripted_set.h"
#include "oneclick/load_error.h"
#include "oneclick/rekordbox_loader.h"
#include "platform/clipboard/qt_clipboard.h"
#include "platform/ocr/tesseract_recognizer.h"
#include "platform/x11/x11_input_system.h"
#include "platform/x11/x11_window_system.h"
#include "support/xvfb_server.h"

namespace kesta {
namespace {

using test::StandInRekordbox;

// A second version of "Velvet Thunder" that nothing on screen tells apart.
const Track kVelvetAgain = test::libraryTrack("204", "Velvet Thunder", "Kasimir Grey", 126.0, "8A");
// In the library but not in rekordbox's collection.
const Track kMissing = test::libraryTrack("301", "Harbour Walls at Dusk", "Nobody Known", 126.0, "8A");

Library loaderLibrary() {
  Library library = test::setLibrary();
  library.tracks.push_back(kVelvetAgain);
  library.tracks.push_back(kMissing);
  return library;
}

nlohmann::json browserRow(const Track& track) {
  return {
      {"title", track.title}, {"artist", track.artist}, {"bpm", "126.00"}, {"key", "8A"}, {"duration", 420}};
}

Track libraryTrackOf(const LibraryIndex& index, const std::string& id) {
  if (const Track* track = index.track(id)) return *track;
  throw std::out_of_range("no library track " + id);
}

const ClipboardContents kUserClipboard = {{
    {"text/plain", {'m', 'y', ' ', 'n', 'o', 't', 'e', 's'}},
    {"image/png", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R', 0xff}},
}};
constexpr Point kUserPointer{37, 811};

class LoaderDisplayTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    server_ = new test::XvfbServer();
    setenv("DISPLAY", server_->display().c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    static int argc = 1;
    static char name[] = "oneclick_display_tests";
    static char* argv[] = {name, nullptr};
    application_ = new QGuiApplication(argc, argv);
  }
  static void TearDownTestSuite() {
    delete application_;
    delete server_;
  }

  void SetUp() override {
    window = std::make_unique<StandInRekordbox>(server_->display());
    nlohmann::json rows = nlohmann::json::array();
    for (const auto& track : index.tracks()) {
      if (track.id != kMissing.id) rows.push_back(browserRow(track));
    }
    window->send("browse " + rows.dump());
    input = std::make_shared<X11InputSystem>(server_->display());
    clipboard = std::make_shared<QtClipboard>();
    loader = std::make_unique<RekordboxLoader>(RekordboxLoader::Parts{
        .windows = std::make_shared<X11WindowSystem>(server_->display()),
        .input = input,
        .clipboard = clipboard,
        .recognizer = std::make_shared<TesseractRecognizer>(),
    });
  }

  void TearDown() override {
    test::release(engine);
    window.reset();
  }

  // Runs `work` off the main thread, which serves the clipboard meanwhile.
  template <class Work>
  auto offMainThread(Work work) {
    std::packaged_task<decltype(work())()> task(std::move(work));
    auto result = task.get_future();
    std::thread worker(std::move(task));
    while (result.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    worker.join();
    return result.get();
  }

  // The user's clipboard and pointer as they were before each load.
  void prepareUser() {
    clipboard->setContents(kUserClipboard);
    input->movePointer(kUserPointer);
  }
  void expectUserGivenBack(const std::string& what) {
    EXPECT_EQ(clipboard->contents(), kUserClipboard) << what;
    EXPECT_EQ(input->pointer(), std::optional<Point>(kUserPointer)) << what;
  }

  int load(const std::string& id, int deck) {
    const Track track = libraryTrackOf(index, id);
    return offMainThread(
        [&] { return loader->load(track, deck, index, [] { return std::optional<std::string>(); }); });
  }

  std::optional<LoadError> failedLoad(const std::string& id, int deck) {
    try {
      load(id, deck);
    } catch (const LoadError& error) {
      return error;
    }
    return std::nullopt;
  }

  std::vector<std::string> deckTitles() {
    const auto state = window->send("browser");
    std::vector<std::string> decks;
    for (const auto& deck : state["decks"]) decks.push_back(deck.is_null() ? "" : deck.get<std::string>());
    return decks;
  }

  // The decks' "title - artist", once they show `expected` or after 5 s: the
  // window handles the keys it was sent in its own time.
  std::vector<std::string> decksShowing(const std::vector<std::string>& expected) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    auto decks = deckTitles();
    while (decks != expected && std::chrono::steady_clock::now() < until) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      decks = deckTitles();
    }
    return decks;
  }

  static test::XvfbServer* server_;
  static QGuiApplication* application_;
  LibraryIndex index{loaderLibrary()};
  std::unique_ptr<StandInRekordbox> window;
  std::shared_ptr<X11InputSystem> input;
  std::shared_ptr<QtClipboard> clipboard;
  std::unique_ptr<RekordboxLoader> loader;
  std::shared_ptr<LiveEngine> engine;
};

test::XvfbServer* LoaderDisplayTest::server_ = nullptr;
QGuiApplication* LoaderDisplayTest::application_ = nullptr;

TEST_F(LoaderDisplayTest, LoadsOntoDeck2AndTheEngineConfirmsIt) {
  ASSERT_TRUE(loader->isAuthorized()) << "XTest is missing on the server";
  auto log = std::make_shared<test::UpdateLog>();
  engine = test::followingEngine(server_->display(), index);
  engine->start([log](EngineUpdate update) { log->add(std::move(update)); });

  prepareUser();
  EXPECT_EQ(load("103", 2), 1);
  expectUserGivenBack("after a load");
  const std::vector<std::string> loaded{"", "Paper Planes Over Tokyo - North Coast"};
  EXPECT_EQ(decksShowing(loaded), loaded);
  const auto confirmed = log->waitFor(
      0, [](const EngineUpdate& u) { return u.decks[1] == DeckContent::track("103"); }, 20.0);
  EXPECT_TRUE(confirmed) << "the engine never confirmed the loaded track on deck 2";

  offMainThread([&] { loader->undoLastLoad(); });
  const std::vector<std::string> empty{"", ""};
  EXPECT_EQ(decksShowing(empty), empty);
}

TEST_F(LoaderDisplayTest, DoubtsAndMissesClickNothing) {
  struct Case {
    const char* name;
    std::string id;
    LoadError expected;
  };
  const Case cases[] = {
      {"two versions of one title", "104", LoadError::ambiguous(2)},
      {"a title not in the browser", kMissing.id, LoadError::notFound()},
  };
  for (const auto& c : cases) {
    prepareUser();
    EXPECT_EQ(failedLoad(c.id, 2), std::optional<LoadError>(c.expected)) << c.name;
    expectUserGivenBack(c.name);
    const auto state = window->send("browser");
    EXPECT_FALSE(state.contains("selected")) << c.name << ": a row was clicked";
    EXPECT_EQ(deckTitles(), (std::vector<std::string>{"", ""})) << c.name;
  }
}

TEST_F(LoaderDisplayTest, TwentyLoadsInARow) {
  const std::vector<std::string> ids{"101", "102", "103", "105", "106", "107", "108", "109", "110", "111",
                                     "112", "113", "114", "101", "103", "105", "107", "109", "111", "113"};
  std::vector<std::string> shown{"", ""};
  for (std::size_t i = 0; i < ids.size(); ++i) {
    const int deck = i % 2 ? 1 : 2;
    prepareUser();
    EXPECT_NO_THROW(load(ids[i], deck)) << "load " << i + 1 << " of " << ids[i];
    expectUserGivenBack("load " + std::to_string(i + 1));
    const Track track = libraryTrackOf(index, ids[i]);
    shown[std::size_t(deck - 1)] = track.title + " - " + track.artist;
    EXPECT_EQ(decksShowing(shown), shown) << "load " << i + 1;
  }
}

}  // namespace
}  // namespace kesta
