// The collection import over arbitrary bytes: a library or LibraryImportError,
// nothing else.
#include <cstddef>
#include <cstdint>

#include "fuzz_input.h"
#include "library/rekordbox_xml_importer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kesta;
  try {
    RekordboxXMLImporter::importLibrary(fuzz::text(data, size), "collection.xml", Date{0});
  } catch (const LibraryImportError&) {
  }
  return 0;
}
