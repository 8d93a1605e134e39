#include "model/notifier.h"

namespace kesta::model {

Notifier::ListenerID Notifier::addListener(Listener listener) {
  const ListenerID id = nextListener_++;
  listeners_.emplace(id, std::move(listener));
  return id;
}

void Notifier::removeListener(ListenerID id) { listeners_.erase(id); }

void Notifier::changed(ChangedFields fields) {
  pending_ |= fields;
  if (depth_ == 0) tell();
}

void Notifier::end() {
  if (--depth_ == 0) tell();
}

void Notifier::tell() {
  if (pending_.empty()) return;
  const ChangedFields fields = std::exchange(pending_, ChangedFields{});
  // What the listeners change while being told is told once, when this
  // batch ends, after all of them have heard of `fields`.
  const Batch batch(*this);
  // A listener may remove itself or others while being told.
  const auto listeners = listeners_;
  for (const auto& [id, listener] : listeners) listener(fields);
}

}  // namespace kesta::model
