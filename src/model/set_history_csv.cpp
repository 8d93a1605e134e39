#include "model/set_history_csv.h"

#include <string_view>

#include "model/utc_date.h"

namespace kesta::model {
namespace {

void appendField(std::string& line, std::string_view field) {
  line += '"';
  for (const char c : field) {
    if (c == '"') line += '"';
    line += c;
  }
  line += '"';
}

std::string row(const DJSet::Entry& entry) {
  std::string line;
  appendField(line, utcDateTime(entry.loadedAt));
  line += ',';
  appendField(line, entry.title);
  line += ',';
  appendField(line, entry.artist);
  line += ',';
  appendField(line, entry.played ? "yes" : "not confirmed");
  line += ',';
  appendField(line, entry.suggestedAs ? entry.suggestedAs->title() : std::string_view());
  return line;
}

}  // namespace

std::string setHistoryCsv(std::span<const DJSet::Entry> entries) {
  std::string text(kSetHistoryCsvHeader);
  for (const DJSet::Entry& entry : entries) {
    text += "\r\n";
    text += row(entry);
  }
  return text;
}

}  // namespace kesta::model
