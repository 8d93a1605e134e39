#include "ui/shell/qt_background_executor.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <QThread>
#include <atomic>
#include <memory>
#include <vector>

#include "ui/shell/qt_main_queue.h"

namespace kesta::ui {
namespace {

TEST(QtBackgroundExecutor, JobsRunOffTheMainThreadAndTheirCompletionsOnIt) {
  auto queue = std::make_shared<QtMainQueue>();
  QtBackgroundExecutor executor;
  QThread* const main = QCoreApplication::instance()->thread();
  constexpr int kJobs = 8;
  std::atomic<int> offMain{0};
  std::vector<int> completedOnMain;

  for (int i = 0; i < kJobs; ++i) {
    executor.run([queue, main, i, &offMain, &completedOnMain] {
      if (QThread::currentThread() != main) ++offMain;
      queue->post([main, i, &completedOnMain] {
        if (QThread::currentThread() == main) completedOnMain.push_back(i);
      });
    });
  }

  EXPECT_TRUE(QTest::qWaitFor([&] { return int(completedOnMain.size()) == kJobs; }, 5000));
  EXPECT_EQ(offMain.load(), kJobs);
}

TEST(QtMainQueue, DropsTasksStillWaitingWhenDestroyed) {
  int ran = 0;
  {
    QtMainQueue queue;
    queue.post([&ran] { ++ran; });
  }
  QCoreApplication::processEvents();
  EXPECT_EQ(ran, 0);
}

}  // namespace
}  // namespace kesta::ui
