// The earlier version's defaults, as a property-list file in either form: any
// bytes are refused or read, and what the import brings over is kept in a file
// of our own, so it must save and read back unchanged.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "fuzz_input.h"
#include "platform/defaults/defaults_domain.h"
#include "round_trip.h"
#include "store/legacy_migration.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kesta;
  auto values = defaults::Domain::parse(fuzz::text(data, size));
  if (!values) return 0;
  const defaults::Domain domain(std::move(*values));
  const auto legacy = LegacyMigration::read(
      {"com.kesta.live.beta"}, [&](const std::string&) -> std::optional<defaults::Domain> { return domain; });
  if (legacy) fuzz::expectRoundTrip(*legacy);
  return 0;
}
