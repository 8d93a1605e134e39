#pragma once

#include <memory>

#include "model/ports/background_executor.h"
#include "model/ports/click_through.h"
#include "model/ports/day_formatter.h"
#include "model/ports/engine_port.h"
#include "model/ports/image_encoder.h"
#include "model/ports/key_preset_check.h"
#include "model/ports/loader_port.h"
#include "model/ports/main_queue.h"
#include "model/ports/monotonic_clock.h"
#include "model/ports/panels.h"
#include "model/ports/rekordbox_app.h"
#include "model/ports/relauncher.h"
#include "model/ports/scheduler.h"
#include "model/ports/screen_access.h"
#include "model/ports/url_opener.h"
#include "model/ports/wall_clock.h"
#include "store/app_store.h"

namespace kesta::model {

// Everything the app model does not own itself, handed over at construction.
// The application passes the real services; tests pass fakes. None may be null.
struct ModelPorts {
  std::shared_ptr<AppStore> store;
  std::shared_ptr<MainQueue> mainQueue;
  std::shared_ptr<Scheduler> scheduler;
  std::shared_ptr<BackgroundExecutor> background;
  std::shared_ptr<MonotonicClock> monotonicClock;
  std::shared_ptr<WallClock> wallClock;
  std::shared_ptr<EngineFactory> engines;
  std::shared_ptr<LoaderPort> loader;
  std::shared_ptr<KeyPresetCheck> keyPreset;
  std::shared_ptr<ScreenAccess> screenAccess;
  std::shared_ptr<RekordboxApp> rekordbox;
  std::shared_ptr<UrlOpener> urls;
  std::shared_ptr<Panels> panels;
  std::shared_ptr<Relauncher> relauncher;
  std::shared_ptr<ClickThrough> clickThrough;
  std::shared_ptr<DayFormatter> dayFormatter;
  std::shared_ptr<ImageEncoder> imageEncoder;
};

}  // namespace kesta::model
