// Every file the store reads back: the first byte picks the file, the rest is
// its text. A damaged file may be refused but never crash the reader, and what
// is read must be saved and read back unchanged.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fuzz_input.h"
#include "live/diagnostics_session.h"
#include "round_trip.h"
#include "store/legacy_data.h"
#include "store/library_file.h"
#include "store/library_file_reader.h"
#include "store/preferences.h"
#include "store/stored_library.h"
#include "store/user_data.h"
#include "suggest/dj_set.h"

namespace kesta {
namespace {

// "sets.json": a plain list of sets.
struct ArchivedSets {
  std::vector<DJSet> sets;
  json::Value toJson() const {
    json::Value list = json::Value::array();
    for (const auto& set : sets) list.push_back(set.toJson());
    return list;
  }
  static ArchivedSets fromJson(const json::Value& value) {
    return {json::asList<DJSet>(value, DJSet::fromJson)};
  }
};

// "library.json" is read in slices; it must accept and refuse exactly what the
// one-piece decoding does, and its encoding must read back to the same text.
void decodeLibrary(std::string_view text) {
  std::optional<StoredLibrary> sliced;
  std::optional<StoredLibrary> whole;
  try {
    sliced = LibraryFile::decode(text);
  } catch (const std::exception&) {
  }
  try {
    whole = StoredLibrary::fromJson(json::parse(text));
  } catch (const std::exception&) {
  }
  fuzz::check(sliced.has_value() == whole.has_value(), "sliced and whole library decoding disagree");
  // As a start reads it: in blocks that split anything.
  std::optional<StoredLibrary> inBlocks;
  try {
    LibraryFile::Reader reader;
    for (std::size_t at = 0; at < text.size(); at += 3) reader.add(text.substr(at, 3));
    inBlocks = std::move(reader).decode();
  } catch (const std::exception&) {
  }
  fuzz::check(inBlocks.has_value() == whole.has_value(), "library decoding in blocks and whole disagree");
  if (!sliced) return;
  std::string saved;
  try {
    saved = LibraryFile::encode(*sliced);
  } catch (const json::EncodingError&) {
    return;
  }
  fuzz::check(saved == json::write(whole->toJson()), "sliced and whole library encoding disagree");
  fuzz::check(LibraryFile::encode(*inBlocks) == saved, "library decoded in blocks differs from the whole");
  std::optional<StoredLibrary> reread;
  try {
    reread = LibraryFile::decode(saved);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "saved library does not read back: %s\n", error.what());
    fuzz::fail("library round trip");
  }
  fuzz::check(LibraryFile::encode(*reread) == saved, "library round trip changed the file");
}

// A diagnostics file is written element by element: its text must be the
// one-piece encoding's, byte for byte, or fail the same way.
void decodeDiagnostics(std::string_view text) {
  fuzz::decodeStored<DiagnosticsSession>(text);
  std::optional<DiagnosticsSession> session;
  try {
    session = DiagnosticsSession::fromJson(json::parse(text));
  } catch (const std::exception&) {
    return;
  }
  std::optional<std::string> whole;
  std::optional<std::string> pieces;
  try {
    whole = json::write(session->toJson());
  } catch (const json::EncodingError&) {
  }
  try {
    pieces = session->toJsonText();
  } catch (const json::EncodingError&) {
  }
  fuzz::check(whole == pieces, "diagnostics written in pieces differ from the whole");
}

}  // namespace
}  // namespace kesta

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kesta;
  const auto input = fuzz::select(fuzz::text(data, size), 7);
  switch (input.which) {
    case 0:
      fuzz::decodeStored<Preferences>(input.rest);
      break;
    case 1:
      fuzz::decodeStored<UserData>(input.rest);
      break;
    case 2:
      decodeLibrary(input.rest);
      break;
    case 3:
      fuzz::decodeStored<DJSet>(input.rest);
      break;
    case 4:
      fuzz::decodeStored<ArchivedSets>(input.rest);
      break;
    case 5:
      fuzz::decodeStored<LegacyData>(input.rest);
      break;
    case 6:
      decodeDiagnostics(input.rest);
      break;
  }
  return 0;
}
