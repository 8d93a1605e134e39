#pragma once

#include <string>

#include "store/store_problem.h"

namespace kesta::model {

// What the DJ is told when the data folder does not keep what they believe is
// kept: which record, and why, in the full window's words and the corner
// card's.
struct StoreNotice {
  std::string text;
  std::string shortText;
  double seconds = 15;
};

StoreNotice storeNotice(const StoreProblem& problem);

}  // namespace kesta::model
