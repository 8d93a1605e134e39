// One-click load through the app model on a private X server, as the
// application runs it: the stand-in rekordbox window read by the real live
// engine, the real loader on its worker thread, Qt's main queue, timers and
// click-through, and a window of Kesta's own. The machine may be busy, so
// time-outs are generous.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <string>

#include "fakes/fake_day_formatter.h"
#include "fakes/fake_image_encoder.h"
#include "fakes/fake_key_preset.h"
#include "fakes/fake_panels.h"
#include "fakes/fake_rekordbox_app.h"
#include "fakes/fake_relauncher.h"
#include "fakes/fake_screen_access.h"
#include "fakes/fake_url_opener.h"
#include "live/scripted_set.h"
#include "load_status_printer.h"
#include "model/app_model.h"
#include "model/live_engine_factory.h"
#include "model/loader_worker.h"
#include "model_probe.h"
#include "oneclick/rekordbox_loader.h"
#include "platform/clipboard/qt_clipboard.h"
#include "platform/ocr/tesseract_recognizer.h"
#include "platform/time/clock.h"
#include "platform/x11/x11_input_system.h"
#include "platform/x11/x11_window_system.h"
#include "reading/screen_capture_source.h"
#include "reading/screen_permission.h"
#include "support/covering_window.h"
#include "support/xvfb_server.h"
#include "ui/shell/qt_background_executor.h"
#include "ui/shell/qt_click_through.h"
#include "ui/shell/qt_main_queue.h"
#include "ui/shell/qt_scheduler.h"

namespace kesta::test {
using namespace kesta::model;
namespace {

class SystemMonotonicClock : public MonotonicClock {
 public:
  double now() const override { return Clock::now(); }
};

class SystemWallClock : public WallClock {
 public:
  Date now() const override { return Date::now(); }
};

// A window of Kesta's that counts the presses it receives.
class KestaWindow : public QWidget {
 public:
  int presses = 0;

 protected:
  void mousePressEvent(QMouseEvent*) override { ++presses; }
};

// Serves Qt's event loop until `done` holds or `seconds` have passed.
bool serveUntil(const std::function<bool()>& done, double seconds) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() >= until) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

class OneClickDisplayTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    server_ = new kesta::test::XvfbServer();
    setenv("DISPLAY", server_->display().c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    static int argc = 1;
    static char name[] = "model_display_tests";
    static char* argv[] = {name, nullptr};
    application_ = new QApplication(argc, argv);
  }
  static void TearDownTestSuite() {
    delete application_;
    delete server_;
  }

  void SetUp() override {
    std::random_device random;
    dataDir_ = std::filesystem::temp_directory_path() / ("kesta-one-click-" + std::to_string(random()));
    const std::string display = server_->display();
    auto mainQueue = std::make_shared<ui::QtMainQueue>();
    auto loader = std::make_shared<RekordboxLoader>(RekordboxLoader::Parts{
        .windows = std::make_shared<X11WindowSystem>(display),
        .input = std::make_shared<X11InputSystem>(display),
        .clipboard = std::make_shared<QtClipboard>(),
        .recognizer = std::make_shared<TesseractRecognizer>(),
    });
    auto engines = std::make_shared<LiveEngineFactory>(LiveEngineFactory::Parts{
        .makeSource =
            [display] {
              return std::make_unique<ScreenCaptureSource>(std::make_shared<X11WindowSystem>(display),
                                                           Clock::now, ScreenPermission::granted);
            },
        .makeRecognizer = [] { return std::make_shared<TesseractRecognizer>(); },
        .mainQueue = mainQueue,
    });
    model = AppModel::create(ModelPorts{
        .store = std::make_shared<AppStore>(dataDir_),
        .mainQueue = mainQueue,
        .scheduler = std::make_shared<ui::QtScheduler>(),
        .background = std::make_shared<ui::QtBackgroundExecutor>(),
        .monotonicClock = std::make_shared<SystemMonotonicClock>(),
        .wallClock = std::make_shared<SystemWallClock>(),
        .engines = engines,
        .loader = std::make_shared<LoaderWorker>(loader, mainQueue),
        .keyPreset = std::make_shared<FakeKeyPreset>(),
        .screenAccess = std::make_shared<FakeScreenAccess>(),
        .rekordbox = std::make_shared<FakeRekordboxApp>(),
        .urls = std::make_shared<FakeUrlOpener>(),
        .panels = std::make_shared<FakePanels>(),
        .relauncher = std::make_shared<FakeRelauncher>(),
        .clickThrough = std::make_shared<ui::QtClickThrough>(),
        .dayFormatter = std::make_shared<FakeDayFormatter>(),
        .imageEncoder = std::make_shared<FakeImageEncoder>(),
    });
  }

  void TearDown() override {
    model->prepareToQuit();
    model.reset();
    std::error_code ignored;
    std::filesystem::remove_all(dataDir_, ignored);
  }

  static kesta::test::XvfbServer* server_;
  static QApplication* application_;
  std::filesystem::path dataDir_;
  std::shared_ptr<AppModel> model;
};

kesta::test::XvfbServer* OneClickDisplayTest::server_ = nullptr;
QApplication* OneClickDisplayTest::application_ = nullptr;

TEST_F(OneClickDisplayTest, LoadsASuggestionOntoTheDeckNotFollowedWhileKestasWindowsLetClicksThrough) {
  const Library library = kesta::test::setLibrary();
  kesta::test::StandInRekordbox rekordbox(server_->display());
  nlohmann::json rows = nlohmann::json::array();
  for (const Track& track : library.tracks) {
    rows.push_back({{"title", track.title},
                    {"artist", track.artist},
                    {"bpm", "126.00"},
                    {"key", "8A"},
                    {"duration", 420}});
  }
  rekordbox.send("browse " + rows.dump());
  rekordbox.load(1, kesta::test::shownTrack(kesta::test::setTrack("101"), 12));
  rekordbox.send("play 1");

  // Beside rekordbox: a window of another program, and one of Kesta's above it.
  kesta::test::CoveringWindow below(server_->display(), 1650, 1050, 200, 100);
  KestaWindow kesta;
  kesta.setGeometry(1650, 1050, 200, 100);
  kesta.show();
  ASSERT_TRUE(serveUntil([&] { return kesta.windowHandle()->isExposed(); }, 10));

  ModelProbe::install(*model, library);
  model->setOneClickLoad(true);
  model->startWatching();
  ASSERT_TRUE(serveUntil([&] { return model->suggestion(Lane::groove).has_value(); }, 60))
      << "no suggestion for the track on Deck 1";
  const Suggestion suggestion = *model->suggestion(Lane::groove);
  ASSERT_TRUE(serveUntil([&] { return model->loadDecision(suggestion) == LoadDecision::allowed(2); }, 60))
      << "Deck 1 was never followed with Deck 2 free";

  model->load(suggestion);
  ASSERT_TRUE(model->isLoading());
  serveUntil([] { return false; }, 0.2);  // the windows' new input shapes reach the server
  X11InputSystem(server_->display()).click(Point{1750, 1100});
  EXPECT_EQ(below.presses(0, 5), 1) << "the click did not reach the window below Kesta's";
  EXPECT_EQ(kesta.presses, 0);

  // Loading lasts until the engine has seen the track on the deck, or not.
  ASSERT_TRUE(serveUntil([&] { return !model->isLoading(); }, 60));
  EXPECT_EQ(model->loadStatus(),
            LoadStatus::done("Loaded \u2068" + suggestion.track.title + "\u2069 on Deck 2.", true));
  EXPECT_EQ(rekordbox.send("browser")["decks"][1], suggestion.track.title + " - " + suggestion.track.artist);
  EXPECT_FALSE(kesta.windowHandle()->flags().testFlag(Qt::WindowTransparentForInput));
}

}  // namespace
}  // namespace kesta::test
