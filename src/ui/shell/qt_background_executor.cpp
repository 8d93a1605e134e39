#include "ui/shell/qt_background_executor.h"

#include <malloc.h>

#include <chrono>
#include <utility>

namespace kesta::ui {
namespace {

// A job this long has built or freed a library or the like; what it freed is
// handed back to the system, which the heap would otherwise keep.
constexpr auto kLongJob = std::chrono::seconds(1);

}  // namespace

QtBackgroundExecutor::QtBackgroundExecutor() { pool_.setObjectName(QStringLiteral("kesta-background")); }

QtBackgroundExecutor::~QtBackgroundExecutor() { pool_.waitForDone(); }

void QtBackgroundExecutor::run(std::function<void()> job) {
  pool_.start([job = std::move(job)] {
    const auto start = std::chrono::steady_clock::now();
    job();
    if (std::chrono::steady_clock::now() - start >= kLongJob) malloc_trim(0);
  });
}

}  // namespace kesta::ui
