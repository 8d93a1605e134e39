#include "model/import_gate.h"

namespace kesta::model {

bool ImportGate::writeIfNewest(std::uint64_t generation, const std::function<void()>& write) {
  const std::lock_guard lock(writing_);
  if (!isNewest(generation)) return false;
  write();
  return true;
}

}  // namespace kesta::model
