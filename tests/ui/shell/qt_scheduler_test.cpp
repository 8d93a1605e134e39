#include "ui/shell/qt_scheduler.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTest>
#include <vector>

namespace kesta::ui {
namespace {

struct OrderCase {
  const char* name;
  std::vector<double> delays;      // seconds, in the order scheduled
  std::vector<int> expectedOrder;  // indices into `delays`, in the order run
};

void PrintTo(const OrderCase& c, std::ostream* out) { *out << c.name; }

class SchedulerOrder : public ::testing::TestWithParam<OrderCase> {};

TEST_P(SchedulerOrder, RunsTasksInTheOrderOfTheirDueTimes) {
  const OrderCase& c = GetParam();
  QtScheduler scheduler;
  std::vector<int> ran;
  for (int i = 0; i < int(c.delays.size()); ++i)
    scheduler.after(c.delays[i], [&ran, i] { ran.push_back(i); });
  EXPECT_TRUE(ran.empty()) << "a task ran inside after()";
  EXPECT_TRUE(QTest::qWaitFor([&] { return ran.size() == c.delays.size(); }, 2000));
  EXPECT_EQ(ran, c.expectedOrder);
}

INSTANTIATE_TEST_SUITE_P(
    Delays, SchedulerOrder,
    ::testing::Values(OrderCase{"shortestFirst", {0.06, 0.01, 0.03}, {1, 2, 0}},
                      OrderCase{"sameTimeInOrderScheduled", {0.02, 0.02, 0.02}, {0, 1, 2}},
                      OrderCase{"zeroAndNegativeNextTurn", {0.02, 0, -1}, {1, 2, 0}},
                      OrderCase{"oneMillisecondApart", {0.012, 0.011, 0.010}, {2, 1, 0}}));

TEST(QtScheduler, NeverRunsEarly) {
  QtScheduler scheduler;
  QElapsedTimer clock;
  clock.start();
  qint64 ranAt = -1;
  scheduler.after(0.0301, [&] { ranAt = clock.elapsed(); });
  EXPECT_TRUE(QTest::qWaitFor([&] { return ranAt >= 0; }, 2000));
  EXPECT_GE(ranAt, 30);
}

TEST(QtScheduler, CancelledTaskDoesNotRun) {
  QtScheduler scheduler;
  int ran = 0;
  const model::Cancellation first = scheduler.after(0.01, [&] { ran += 1; });
  scheduler.after(0.02, [&] { ran += 10; });
  first.cancel();
  QTest::qWait(60);
  EXPECT_EQ(ran, 10);
}

TEST(QtScheduler, NoTaskRunsOnceTheSchedulerIsGone) {
  int ran = 0;
  {
    QtScheduler scheduler;
    scheduler.after(0, [&] { ++ran; });
    scheduler.after(0.01, [&] { ++ran; });
  }
  QTest::qWait(40);
  EXPECT_EQ(ran, 0);
}

}  // namespace
}  // namespace kesta::ui
