#pragma once

#include <variant>

namespace kesta {

// The case queries of a closed sum type: a struct whose nested case structs
// are held in a public `value` variant, and which derives from
// SumType<itself>. Callers then write `reading.is<DeckReading::Empty>()` and
// `reading.as<DeckReading::Track>()->id`. Being an empty base, it comes first
// in aggregate initialisation: `return {{}, Track{id}};`.
template <class Self>
struct SumType {
  template <class C>
  bool is() const {
    return std::holds_alternative<C>(self().value);
  }
  // The payload of case C, or nullptr when the value is another case.
  template <class C>
  const C* as() const {
    return std::get_if<C>(&self().value);
  }

  friend bool operator==(const SumType&, const SumType&) = default;

 private:
  const Self& self() const { return static_cast<const Self&>(*this); }
};

}  // namespace kesta
