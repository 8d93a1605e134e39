#include <gtest/gtest.h>

#include "model_fixture.h"

namespace kesta::model::testing {
namespace {

using AppModelTest = ModelFixture;

TEST_F(AppModelTest, StartsFromDefaultsOverAnEmptyDataFolder) {
  const AppModel& built = model();
  EXPECT_TRUE(built.library().isEmpty());
  // The restore of the stored library has started and waits for its background job.
  EXPECT_EQ(built.libraryState(), LibraryState::importing("Opening your saved library\u2026"));
  EXPECT_EQ(built.poolID(), "all");
  EXPECT_FALSE(built.watching());
  EXPECT_EQ(built.loadStatus(), LoadStatus::idle());
  EXPECT_FALSE(built.oneClickLoad());
  EXPECT_TRUE(built.activeSet().events.empty());
  EXPECT_TRUE(notifications.empty());
}

}  // namespace
}  // namespace kesta::model::testing
