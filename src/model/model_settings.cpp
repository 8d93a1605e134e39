#include "model/model_settings.h"

#include <cmath>
#include <utility>

namespace kesta::model {

ModelSettings::ModelSettings(Notifier& notifier, std::shared_ptr<AppStore> store)
    : notifier_(notifier),
      store_(std::move(store)),
      preferences_(store_->preferences()),
      includeRawText_(preferences_.includeRawText),
      compact_(preferences_.compact) {}

void ModelSettings::save() const { store_->savePreferences(preferences_); }

void ModelSettings::setIncludeRawText(bool include) {
  notifier_.publish(includeRawText_, include, Field::includeRawText);
  preferences_.includeRawText = include;
  save();
}

void ModelSettings::setCompact(bool compact) {
  notifier_.publish(compact_, compact, Field::compact);
  preferences_.compact = compact;
  save();
}

std::optional<Point> ModelSettings::savedTopLeft(const std::string& key) const {
  const auto found = preferences_.windowTopLeft.find(key);
  if (found == preferences_.windowTopLeft.end() || found->second.size() != 2) return std::nullopt;
  return Point{found->second[0], found->second[1]};
}

void ModelSettings::saveTopLeft(Point topLeft, const std::string& key) {
  // The settings file cannot hold such a number: every later save of the
  // settings would fail, losing the other settings too.
  if (!std::isfinite(topLeft.x) || !std::isfinite(topLeft.y)) return;
  preferences_.windowTopLeft[key] = {topLeft.x, topLeft.y};
  save();
}

}  // namespace kesta::model
