#include "model/reread_answer.h"

#include <utility>

#include "model/safety_recheck.h"

namespace kesta::model {

RereadAnswer::~RereadAnswer() {
  if (!answer_) return;
  mainQueue_->post([deck = deck_, answer = std::move(answer_)] {
    answer(SafetyRecheck::afterReread(deck, std::nullopt));
  });
}

void RereadAnswer::operator()(std::optional<bool> stillStopped) {
  std::exchange(answer_, nullptr)(SafetyRecheck::afterReread(deck_, stillStopped));
}

}  // namespace kesta::model
