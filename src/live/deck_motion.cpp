#include "live/deck_motion.h"

namespace kesta {

int DeckMotion::category() const {
  switch (kind) {
    case Kind::stopped:
      return 1;
    case Kind::empty:
      return 0;
    case Kind::running:
      return 2;
    case Kind::unknown:
      return 3;
  }
  return 3;
}

}  // namespace kesta
