#pragma once

#include <exception>
#include <string>

#include "fuzz_input.h"
#include "platform/json/json_coding.h"

namespace kesta::fuzz {

// Whatever reads from a stored file must save and read back as the same file:
// a record that decodes either fails to encode with EncodingError, or encodes
// to text that decodes again to the very same JSON.
template <class Record>
void expectRoundTrip(const Record& record) {
  const json::Value first = record.toJson();
  std::string saved;
  try {
    saved = json::write(first);
  } catch (const json::EncodingError&) {
    return;
  }
  json::Value second;
  try {
    second = Record::fromJson(json::parse(saved)).toJson();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "saved record does not read back: %s\n%s\n", error.what(), saved.c_str());
    fail("round trip");
  }
  if (second != first) {
    std::fprintf(stderr, "saved:   %s\nre-read: %s\n", saved.c_str(), json::write(second).c_str());
    fail("round trip changed the record");
  }
}

// Decodes a whole stored text as its readers do, where any exception means
// the file is unreadable; a record that decodes must survive a round trip.
template <class Record>
void decodeStored(std::string_view text) {
  std::optional<Record> record;
  try {
    record = Record::fromJson(json::parse(text));
  } catch (const std::exception&) {
    return;
  }
  expectRoundTrip(*record);
}

}  // namespace kesta::fuzz
