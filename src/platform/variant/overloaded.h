#pragma once

namespace kesta {

// Builds one visitor for std::visit out of several lambdas.
template <class... F>
struct Overloaded : F... {
  using F::operator()...;
};
// Spelled out for compilers without deduction for aggregates (clang before 17).
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

}  // namespace kesta
