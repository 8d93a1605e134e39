// Kesta's program: wires the app model to the real services and ports and
// shows its windows. Everything here runs on the main thread.

#include <unistd.h>

#include <QApplication>
#include <QGuiApplication>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "model/app_model.h"
#include "model/live_engine_factory.h"
#include "model/loader_worker.h"
#include "oneclick/rekordbox_loader.h"
#include "platform/clipboard/qt_clipboard.h"
#include "platform/ocr/tesseract_recognizer.h"
#include "platform/system/open_file_limit.h"
#include "platform/time/clock.h"
#include "platform/x11/x11_input_system.h"
#include "platform/x11/x11_window_system.h"
#include "reading/screen_capture_source.h"
#include "reading/screen_permission.h"
#include "store/app_store.h"
#include "ui/look/application_look.h"
#include "ui/look/kesta_mark.h"
#include "ui/shell/icu_day_formatter.h"
#include "ui/shell/model_bridge.h"
#include "ui/shell/qt_background_executor.h"
#include "ui/shell/qt_click_through.h"
#include "ui/shell/qt_image_encoder.h"
#include "ui/shell/qt_main_queue.h"
#include "ui/shell/qt_panels.h"
#include "ui/shell/qt_relauncher.h"
#include "ui/shell/qt_scheduler.h"
#include "ui/shell/qt_url_opener.h"
#include "ui/shell/rekordbox_key_preset_check.h"
#include "ui/shell/system_clocks.h"
#include "ui/shell/termination_signals.h"
#include "ui/shell/window_controller.h"
#include "ui/shell/x11_rekordbox_app.h"
#include "ui/shell/x11_screen_access.h"
#include "ui/views/corner_card.h"
#include "ui/views/root_view.h"

namespace {

using namespace kesta;

// Text recognition spreads over every core unless OpenMP is limited before
// the process starts, so the program starts itself again with the limit set.
void ensureThreadLimit(char** argv) {
  if (std::getenv("OMP_THREAD_LIMIT")) return;
  setenv("OMP_THREAD_LIMIT", "1", 1);
  execv("/proc/self/exe", argv);
  std::fprintf(stderr,
               "kesta: could not restart with OMP_THREAD_LIMIT=1 (%s); text recognition may be slow\n",
               std::strerror(errno));
}

// Fewer open files than this and Qt or GLib would end the program at the
// first window or thread that needs one more; more are asked for when allowed.
constexpr std::uint64_t kOpenFilesNeeded = 64;
constexpr std::uint64_t kOpenFilesWanted = 1024;

bool ensureOpenFiles() {
  const std::uint64_t limit = OpenFileLimit::raiseTo(kOpenFilesWanted);
  if (limit >= kOpenFilesNeeded) return true;
  std::fprintf(stderr,
               "kesta: it may keep only %llu files open at once and needs %llu; raise the limit "
               "(ulimit -n) and start it again\n",
               static_cast<unsigned long long>(limit), static_cast<unsigned long long>(kOpenFilesNeeded));
  return false;
}

std::shared_ptr<model::LoaderPort> makeLoader(const std::shared_ptr<model::MainQueue>& mainQueue) {
  auto loader = std::make_shared<RekordboxLoader>(RekordboxLoader::Parts{
      .windows = std::make_shared<X11WindowSystem>(),
      .input = std::make_shared<X11InputSystem>(),
      .clipboard = std::make_shared<QtClipboard>(),
      .recognizer = std::make_shared<TesseractRecognizer>(),
  });
  return std::make_shared<model::LoaderWorker>(loader, mainQueue);
}

std::shared_ptr<model::EngineFactory> makeEngines(const std::shared_ptr<model::MainQueue>& mainQueue) {
  return std::make_shared<model::LiveEngineFactory>(model::LiveEngineFactory::Parts{
      .makeSource =
          [] {
            return std::make_unique<ScreenCaptureSource>(std::make_shared<X11WindowSystem>(), Clock::now,
                                                         ScreenPermission::granted);
          },
      // The loop reads the same deck and mixer areas every second: what did not
      // change is not read again.
      .makeRecognizer =
          [] { return std::make_shared<TesseractRecognizer>(TesseractRecognizer::Memory::pages); },
      .mainQueue = mainQueue,
  });
}

model::ModelPorts makePorts(const std::shared_ptr<model::RekordboxApp>& rekordbox) {
  auto mainQueue = std::make_shared<ui::QtMainQueue>();
  return model::ModelPorts{
      .store = std::make_shared<AppStore>(),
      .mainQueue = mainQueue,
      .scheduler = std::make_shared<ui::QtScheduler>(),
      .background = std::make_shared<ui::QtBackgroundExecutor>(),
      .monotonicClock = std::make_shared<ui::SystemMonotonicClock>(),
      .wallClock = std::make_shared<ui::SystemWallClock>(),
      .engines = makeEngines(mainQueue),
      .loader = makeLoader(mainQueue),
      .keyPreset = std::make_shared<ui::RekordboxKeyPresetCheck>(),
      .screenAccess = std::make_shared<ui::X11ScreenAccess>(),
      .rekordbox = rekordbox,
      .urls = std::make_shared<ui::QtUrlOpener>(),
      .panels = std::make_shared<ui::QtPanels>(),
      .relauncher = std::make_shared<ui::QtRelauncher>(),
      .clickThrough = std::make_shared<ui::QtClickThrough>(),
      .dayFormatter = std::make_shared<ui::IcuDayFormatter>(),
      .imageEncoder = std::make_shared<ui::QtImageEncoder>(),
  };
}

// Runs the application until it quits; the model's quit steps (the focus
// remembered, the diagnostics written, the engine stopped and joined) run
// before the windows and the model go.
int run(QApplication& application) {
  auto rekordbox = std::make_shared<ui::X11RekordboxApp>(std::make_shared<X11WindowSystem>(),
                                                         std::make_shared<X11InputSystem>());
  model::ModelPorts ports = makePorts(rekordbox);
  // The views open the diagnostics folder through the model's own store and URL port.
  const std::shared_ptr<AppStore> store = ports.store;
  const std::shared_ptr<model::UrlOpener> urls = ports.urls;
  std::shared_ptr<model::AppModel> model = model::AppModel::create(std::move(ports));
  ui::ModelBridge bridge(model, store, urls);
  const ui::WindowController::Contents contents{
      .full =
          [&bridge](ui::WindowController::SetMode setMode) {
            return new ui::RootView(bridge, setMode, nullptr);
          },
      .card =
          [&bridge](ui::WindowController::Expand expand) {
            return new ui::CornerCard(bridge, expand, nullptr);
          },
  };
  int status = 0;
  {
    const ui::TerminationSignals terminationSignals;
    ui::WindowController controller(model, rekordbox, contents);
    QObject::connect(&controller, &ui::WindowController::quitRequested, &application, &QApplication::quit,
                     Qt::QueuedConnection);
    QObject::connect(&application, &QGuiApplication::applicationStateChanged, &controller,
                     [&model](Qt::ApplicationState state) {
                       if (state == Qt::ApplicationActive) model->checkForNewerExport();
                     });
    status = application.exec();
    model->prepareToQuit();
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  if (!ensureOpenFiles()) return 1;
  ensureThreadLimit(argv);
  // Qt's shared-memory drawing passes a file descriptor for every window
  // surface, and waits for good when none can be received; Kesta's windows are
  // small enough to send as they are.
  qputenv("QT_XCB_NO_MITSHM", "1");
  QApplication application(argc, argv);
  // The name is the class of every window (WM_CLASS "kesta", "Kesta"), which
  // the desktop entry's StartupWMClass names.
  QApplication::setApplicationName("Kesta");
  QApplication::setWindowIcon(ui::KestaMark::icon());
  QApplication::setQuitOnLastWindowClosed(false);
  ui::applyApplicationLook(application);
  // The model lets the diagnostics writer finish when the store goes with it.
  return run(application);
}
