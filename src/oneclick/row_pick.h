#pragma once

#include <variant>

#include "platform/image/geometry.h"

namespace kesta {

// Which browser row is the requested track.
struct RowPick {
  // The one row: the rectangle of its title line, to be clicked at its centre.
  struct Row {
    Rect box;
    friend bool operator==(const Row&, const Row&) = default;
  };
  // This many rows could all be the track; the DJ must choose.
  struct Ambiguous {
    int count = 0;
    friend bool operator==(const Ambiguous&, const Ambiguous&) = default;
  };
  struct NotFound {
    friend bool operator==(const NotFound&, const NotFound&) = default;
  };

  using Case = std::variant<Row, Ambiguous, NotFound>;

  Case value = NotFound{};

  static RowPick row(Rect box) { return {Row{box}}; }
  static RowPick ambiguous(int count) { return {Ambiguous{count}}; }
  static RowPick notFound() { return {NotFound{}}; }

  template <class C>
  bool is() const {
    return std::holds_alternative<C>(value);
  }
  // The payload of case C, or nullptr when the pick is another case.
  template <class C>
  const C* as() const {
    return std::get_if<C>(&value);
  }

  friend bool operator==(const RowPick&, const RowPick&) = default;
};

}  // namespace kesta
