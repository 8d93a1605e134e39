#pragma once

#include <functional>
#include <mutex>
#include <vector>

#include "platform/ocr/text_recognizer.h"

namespace kesta {

// A recogniser for tests: answers with scripted lines and remembers every
// request it was given.
class FakeTextRecognizer : public TextRecognizer {
 public:
  struct Call {
    int width = 0;
    int height = 0;
    RecognitionRequest request;
  };
  using Script = std::function<std::vector<TextObservation>(const Image&, const RecognitionRequest&)>;

  // Answers every call with no lines until told otherwise.
  FakeTextRecognizer() = default;
  explicit FakeTextRecognizer(Script script) : script_(std::move(script)) {}

  // Every later call answers with these lines.
  void answer(std::vector<TextObservation> lines);
  void answer(Script script);

  std::vector<TextObservation> recognize(const Image& image, const RecognitionRequest& request) override;

  std::vector<Call> calls() const;

 private:
  mutable std::mutex mutex_;
  Script script_;
  std::vector<Call> calls_;
};

}  // namespace kesta
