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
// What the DJ is told when "End set" leaves the set running, because the
// past sets' file is held and the set would be kept nowhere else.
StoreNotice setKeptRunningNotice();

}  // namespace kesta::model
