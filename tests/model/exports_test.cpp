#include <gtest/gtest.h>

#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "model/export_file_names.h"
#include "model/set_history_csv.h"
#include "model/utc_date.h"
#include "support/test_paths.h"

namespace kesta::model {
namespace {

// The stored file byte for byte: line ends and the missing final one matter.
std::string golden(const std::string& name) {
  std::ifstream in(testing::sourceDir() / "tests" / "model" / "golden" / name, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

Date utc(double unixSeconds) { return Date::fromUnixSeconds(unixSeconds); }

DJSet::Entry entry(int id, double unixSeconds, std::string title, std::string artist, bool played,
                   std::optional<Lane> lane) {
  return {id, std::move(title), std::move(artist), utc(unixSeconds), played, lane};
}

TEST(SetHistoryCsv, MatchesTheStoredFilesByteForByte) {
  const std::vector<DJSet::Entry> rows{
      // A quarter of a second past the minute: fractions are dropped, not rounded.
      entry(0, 1773549009.75, "Opening \"Night\" Drive", "Kasra, Dan", true, Lane::groove),
      entry(1, 1773549291, "Two\nLines", "Ödön Ñu", false, std::nullopt),
      entry(2, 1773549660, "Plain", "Artist", true, Lane::raise),
      entry(3, 1773550050, "\"", "", false, Lane::breather),
      entry(4, 1773532799, "Late", "X", true, Lane::pivot),
  };
  struct Case {
    const char* file;
    std::vector<DJSet::Entry> entries;
  };
  const std::vector<Case> cases{{"set_empty.csv", {}}, {"set_history.csv", rows}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string expected = golden(c.file);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(setHistoryCsv(c.entries), expected);
  }
}

TEST(ExportFileNames, CarryTheUtcDayOfTheStart) {
  struct Case {
    double unixSeconds;
    const char* setName;
    const char* diagnosticsName;
  };
  const std::vector<Case> cases{
      // 23:30 on March 14 at UTC−5 is already March 15 in UTC.
      {1773446400 + (23.5 + 5) * 3600, "kesta-set-2026-03-15.csv", "kesta-diagnostics-2026-03-15.txt"},
      {1773532799.999, "kesta-set-2026-03-14.csv", "kesta-diagnostics-2026-03-14.txt"},
      {1773532800, "kesta-set-2026-03-15.csv", "kesta-diagnostics-2026-03-15.txt"},
      // Before 1970 and before the stored dates' reference point.
      {-86400.5, "kesta-set-1969-12-30.csv", "kesta-diagnostics-1969-12-30.txt"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.setName);
    EXPECT_EQ(setFileName(utc(c.unixSeconds)), c.setName);
    EXPECT_EQ(diagnosticsFileName(utc(c.unixSeconds)), c.diagnosticsName);
  }
}

TEST(UtcDate, WritesDatesThatAreNoNumberAsTheReferenceDate) {
  EXPECT_EQ(utcDateTime(Date{std::numeric_limits<double>::quiet_NaN()}), "2001-01-01T00:00:00Z");
  EXPECT_EQ(utcDateTime(Date{1e300}), "2001-01-01T00:00:00Z");
  EXPECT_EQ(utcDateTime(utc(951782400 + 86399)), "2000-02-29T23:59:59Z");
}

}  // namespace
}  // namespace kesta::model
