#pragma once

#include <variant>

#include "platform/image/geometry.h"
#include "platform/variant/sum_type.h"

namespace kesta {

// Which browser row is the requested track.
struct RowPick : SumType<RowPick> {
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

  static RowPick row(Rect box) { return {{}, Row{box}}; }
  static RowPick ambiguous(int count) { return {{}, Ambiguous{count}}; }
  static RowPick notFound() { return {{}, NotFound{}}; }

  friend bool operator==(const RowPick&, const RowPick&) = default;
};

}  // namespace kesta
