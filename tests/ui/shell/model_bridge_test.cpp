#include "ui/shell/model_bridge.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <memory>

#include "model_fixture.h"

namespace kesta::ui {
namespace {

using model::ChangedFields;
using model::Field;

class ModelBridgeTest : public test::ModelFixture {};

TEST_F(ModelBridgeTest, ReEmitsEachNotificationWithItsFields) {
  ModelBridge bridge(modelPointer(), store, urls);
  std::vector<ChangedFields> seen;
  QObject::connect(&bridge, &ModelBridge::changed, [&seen](ChangedFields fields) { seen.push_back(fields); });

  model().setCompact(true);
  model().setIncludeRawText(true);

  ASSERT_EQ(seen.size(), 2u);
  EXPECT_TRUE(seen[0].contains(Field::compact));
  EXPECT_FALSE(seen[0].contains(Field::includeRawText));
  EXPECT_TRUE(seen[1].contains(Field::includeRawText));
}

TEST_F(ModelBridgeTest, StopsListeningWhenDestroyed) {
  auto bridge = std::make_unique<ModelBridge>(modelPointer(), store, urls);
  bridge.reset();
  const auto before = notifications.size();
  model().setCompact(true);  // would reach a destroyed bridge if it still listened
  EXPECT_EQ(notifications.size(), before + 1);
}

}  // namespace
}  // namespace kesta::ui
