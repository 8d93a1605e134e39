#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <utility>

#include "model/changed_fields.h"

namespace kesta::model {

// Tells the model's listeners which published fields changed, once per
// operation. An operation (a user action, an engine update applied, a
// background result or a timer) opens a `Batch`; every `changed` inside it
// only adds to a pending mask, and the end of the outermost batch tells each
// listener the whole mask once. A change outside any batch is told at once.
//
// Threads: main thread only. Listeners may call the model back, add or
// remove listeners, and open batches of their own: what they change is told
// after the current listeners have all heard of the mask they are handling.
class Notifier {
 public:
  using Listener = std::function<void(ChangedFields)>;
  using ListenerID = std::uint64_t;

  // Open for the scope of one operation; batches nest and merge.
  class [[nodiscard]] Batch {
   public:
    explicit Batch(Notifier& notifier) : notifier_(notifier) { ++notifier_.depth_; }
    ~Batch() { notifier_.end(); }
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

   private:
    Notifier& notifier_;
  };

  ListenerID addListener(Listener listener);
  void removeListener(ListenerID id);

  void changed(ChangedFields fields);

  // Assigns a published property and records the field as changed.
  template <class T, class V>
  void publish(T& property, V&& value, Field field) {
    property = std::forward<V>(value);
    changed(field);
  }
  // The same, only when the value differs; answers whether it did.
  template <class T, class V>
  bool publishIfChanged(T& property, V&& value, Field field) {
    if (property == value) return false;
    publish(property, std::forward<V>(value), field);
    return true;
  }

 private:
  void end();
  void tell();

  std::map<ListenerID, Listener> listeners_;
  ListenerID nextListener_ = 1;
  ChangedFields pending_;
  int depth_ = 0;
};

}  // namespace kesta::model
