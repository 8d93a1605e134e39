#pragma once

#include <ostream>
#include <type_traits>
#include <variant>

#include "model/load_status.h"

namespace kesta::model {

// Load statuses in test failure messages: "done(Loaded X on Deck 2., canUndo)".
inline void PrintTo(const LoadStatus& status, std::ostream* out) {
  std::visit(
      [out](const auto& value) {
        using Case = std::decay_t<decltype(value)>;
        if constexpr (std::is_same_v<Case, LoadStatus::Loading>) {
          *out << "loading(" << value.trackID << ", deck " << value.deck << ")";
        } else if constexpr (std::is_same_v<Case, LoadStatus::Done>) {
          *out << "done(" << value.text << (value.canUndo ? ", canUndo)" : ")");
        } else if constexpr (std::is_same_v<Case, LoadStatus::Failed>) {
          *out << "failed(" << value.text << ")";
        } else {
          *out << "idle";
        }
      },
      status.value);
}

}  // namespace kesta::model
