#pragma once

#include <memory>
#include <optional>
#include <string>

#include "model/notifier.h"
#include "platform/image/geometry.h"
#include "store/app_store.h"
#include "store/preferences.h"

namespace kesta::model {

// The DJ's stored settings: the two view settings it publishes (raw text in
// the diagnostics, the compact window), the window positions, and the rest
// of "preferences.json" that other parts fill in and save through it.
//
// Threads: main thread only. Failures: an unreadable file gives the store's
// defaults; saves report nothing.
class ModelSettings {
 public:
  ModelSettings(Notifier& notifier, std::shared_ptr<AppStore> store);

  const Preferences& preferences() const { return preferences_; }
  // For a part that records a setting of its own; `save` writes it.
  Preferences& preferences() { return preferences_; }
  void save() const;

  bool includeRawText() const { return includeRawText_; }
  bool compact() const { return compact_; }
  void setIncludeRawText(bool include);
  void setCompact(bool compact);

  // A window's stored top-left corner under `key`, in screen points.
  std::optional<Point> savedTopLeft(const std::string& key) const;
  void saveTopLeft(Point topLeft, const std::string& key);

 private:
  Notifier& notifier_;
  std::shared_ptr<AppStore> store_;
  Preferences preferences_;
  bool includeRawText_ = false;
  bool compact_ = false;
};

}  // namespace kesta::model
