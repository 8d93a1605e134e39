#include "support/fakes/fake_text_recognizer.h"

namespace kesta {

void FakeTextRecognizer::answer(std::vector<TextObservation> lines) {
  answer([lines = std::move(lines)](const Image&, const RecognitionRequest&) { return lines; });
}

void FakeTextRecognizer::answer(Script script) {
  const std::lock_guard lock(mutex_);
  script_ = std::move(script);
}

std::vector<TextObservation> FakeTextRecognizer::recognize(const Image& image,
                                                           const RecognitionRequest& request) {
  Script script;
  {
    const std::lock_guard lock(mutex_);
    calls_.push_back({image.width(), image.height(), request});
    script = script_;
  }
  return script ? script(image, request) : std::vector<TextObservation>{};
}

std::vector<FakeTextRecognizer::Call> FakeTextRecognizer::calls() const {
  const std::lock_guard lock(mutex_);
  return calls_;
}

}  // namespace kesta
