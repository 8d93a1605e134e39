// rekordbox's settings and keyboard mapping files as found on disk: the first
// byte picks which one, the rest is its text. Reading them never fails.
#include <cstddef>
#include <cstdint>

#include "fuzz_input.h"
#include "oneclick/key_preset.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kesta;
  const auto input = fuzz::select(fuzz::text(data, size), 3);
  switch (input.which) {
    case 0:
      KeyPreset::activePresetID(input.rest);
      break;
    case 1:
      KeyPreset::evaluate(input.rest);
      break;
    case 2:
      KeyPreset::normalized(input.rest);
      break;
  }
  return 0;
}
