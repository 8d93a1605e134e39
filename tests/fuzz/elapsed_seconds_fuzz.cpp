// A deck clock read from one line of recognised text: any line, any bytes.
#include <cstddef>
#include <cstdint>

#include "fuzz_input.h"
#include "reading/text_recognition.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto seconds = kesta::TextRecognition::elapsedSeconds(kesta::fuzz::text(data, size));
  kesta::fuzz::check(!seconds || *seconds >= 0, "negative elapsed time");
  return 0;
}
