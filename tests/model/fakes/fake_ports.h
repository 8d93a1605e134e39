#pragma once

#include <memory>
#include <utility>

#include "fakes/fake_click_through.h"
#include "fakes/fake_clocks.h"
#include "fakes/fake_day_formatter.h"
#include "fakes/fake_engine.h"
#include "fakes/fake_image_encoder.h"
#include "fakes/fake_key_preset.h"
#include "fakes/fake_loader.h"
#include "fakes/fake_main_queue.h"
#include "fakes/fake_panels.h"
#include "fakes/fake_rekordbox_app.h"
#include "fakes/fake_relauncher.h"
#include "fakes/fake_scheduler.h"
#include "fakes/fake_screen_access.h"
#include "fakes/fake_url_opener.h"
#include "fakes/manual_executor.h"
#include "model/model_ports.h"

namespace kesta::test {
using namespace kesta::model;

// Every port of the app model but the store faked, each under its own name:
// the scheduler runs on the fake clocks and the engines answer through the
// fake queue. `ports` hands them to the model by name, over a real store.
struct FakePorts {
  ModelPorts ports(std::shared_ptr<AppStore> store) const {
    return ModelPorts{.store = std::move(store),
                      .mainQueue = queue,
                      .scheduler = scheduler,
                      .background = executor,
                      .monotonicClock = monotonic,
                      .wallClock = wall,
                      .engines = engines,
                      .loader = loader,
                      .keyPreset = keyPreset,
                      .screenAccess = screen,
                      .rekordbox = rekordbox,
                      .urls = urls,
                      .panels = panels,
                      .relauncher = relauncher,
                      .clickThrough = clickThrough,
                      .dayFormatter = dayFormatter,
                      .imageEncoder = imageEncoder};
  }

  std::shared_ptr<FakeMainQueue> queue = std::make_shared<FakeMainQueue>();
  std::shared_ptr<FakeMonotonicClock> monotonic = std::make_shared<FakeMonotonicClock>();
  std::shared_ptr<FakeWallClock> wall = std::make_shared<FakeWallClock>();
  std::shared_ptr<FakeScheduler> scheduler = std::make_shared<FakeScheduler>(monotonic.get(), wall.get());
  std::shared_ptr<ManualExecutor> executor = std::make_shared<ManualExecutor>();
  std::shared_ptr<FakeEngineFactory> engines = std::make_shared<FakeEngineFactory>(*queue);
  std::shared_ptr<FakeLoader> loader = std::make_shared<FakeLoader>();
  std::shared_ptr<FakeKeyPreset> keyPreset = std::make_shared<FakeKeyPreset>();
  std::shared_ptr<FakeScreenAccess> screen = std::make_shared<FakeScreenAccess>();
  std::shared_ptr<FakeRekordboxApp> rekordbox = std::make_shared<FakeRekordboxApp>();
  std::shared_ptr<FakeUrlOpener> urls = std::make_shared<FakeUrlOpener>();
  std::shared_ptr<FakePanels> panels = std::make_shared<FakePanels>();
  std::shared_ptr<FakeRelauncher> relauncher = std::make_shared<FakeRelauncher>();
  std::shared_ptr<FakeClickThrough> clickThrough = std::make_shared<FakeClickThrough>();
  std::shared_ptr<FakeDayFormatter> dayFormatter = std::make_shared<FakeDayFormatter>();
  std::shared_ptr<FakeImageEncoder> imageEncoder = std::make_shared<FakeImageEncoder>();
};

}  // namespace kesta::test
