#include "ui/shell/qt_background_executor.h"

#include <utility>

namespace kesta::ui {

QtBackgroundExecutor::QtBackgroundExecutor() { pool_.setObjectName(QStringLiteral("kesta-background")); }

QtBackgroundExecutor::~QtBackgroundExecutor() { pool_.waitForDone(); }

void QtBackgroundExecutor::run(std::function<void()> job) { pool_.start(std::move(job)); }

}  // namespace kesta::ui
