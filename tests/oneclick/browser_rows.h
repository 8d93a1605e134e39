#pragma once

#include <optional>
#include <string>
#include <vector>

#include "library/library.h"
#include "library/track.h"
#include "oneclick/text_box.h"
#include "platform/image/geometry.h"
#include "platform/ocr/text_recognizer.h"

// Synthetic browser rows and libraries for the row matcher's tests.
namespace kesta::test {

// The loader's browser area: the lower 60 % of the window.
inline constexpr Rect kBrowserRegion{0, 0.4, 1, 0.6};
inline constexpr double kRowHeight = 0.02;

inline Track libraryTrack(std::string id, std::string title, std::string artist,
                          std::optional<std::string> keyText = std::nullopt,
                          std::optional<double> bpm = std::nullopt, int durationSeconds = 0) {
  Track track;
  track.id = std::move(id);
  track.title = std::move(title);
  track.artist = std::move(artist);
  track.keyText = std::move(keyText);
  track.bpm = bpm;
  track.durationSeconds = durationSeconds;
  return track;
}

inline Library libraryOf(std::vector<Track> tracks) {
  Library library;
  library.tracks = std::move(tracks);
  return library;
}

// The cells of one browser row; empty cells are not drawn.
struct BrowserRow {
  std::string title = {};
  std::string artist = {};
  std::string bpm = {};
  std::string key = {};
  std::string time = {};
};

// The title cell's box of row `index` (0 is the top row of the browser).
inline Rect titleBox(int index) { return {0.05, 0.45 + index * 0.03, 0.30, kRowHeight}; }

// The recognised lines of browser rows, one line per non-empty cell.
inline std::vector<TextBox> browserLines(const std::vector<BrowserRow>& rows) {
  std::vector<TextBox> lines;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const Rect title = titleBox(static_cast<int>(i));
    const auto cell = [&](const std::string& text, double x, double width) {
      if (!text.empty()) lines.push_back({text, {x, title.y, width, kRowHeight}});
    };
    cell(rows[i].title, title.x, title.width);
    cell(rows[i].artist, 0.40, 0.20);
    cell(rows[i].bpm, 0.65, 0.06);
    cell(rows[i].key, 0.75, 0.04);
    cell(rows[i].time, 0.85, 0.06);
  }
  return lines;
}

// What recognition of the loader's browser crop answers for `lines`: their
// window fractions as fractions of kBrowserRegion, origin bottom left.
inline std::vector<TextObservation> browserCropObservations(const std::vector<TextBox>& lines) {
  std::vector<TextObservation> observations;
  for (const auto& line : lines) {
    const double height = line.box.height / kBrowserRegion.height;
    const double top = (line.box.y - kBrowserRegion.y) / kBrowserRegion.height;
    observations.push_back({line.text, {line.box.x, 1 - top - height, line.box.width, height}});
  }
  return observations;
}

}  // namespace kesta::test

namespace kesta::test {

// What a scene's pick must be, by row number so that drawn rows can be judged too.
struct ExpectedPick {
  enum class Kind { row, ambiguous, notFound };
  Kind kind = Kind::notFound;
  int value = 0;  // the row number, or the count of ambiguous rows
};
inline ExpectedPick pickRow(int index) { return {ExpectedPick::Kind::row, index}; }
inline ExpectedPick pickAmbiguous(int count) { return {ExpectedPick::Kind::ambiguous, count}; }
inline ExpectedPick pickNothing() { return {ExpectedPick::Kind::notFound, 0}; }

// A browser listing, the library behind it, the requested track and the answer.
struct BrowserScene {
  std::string name;
  std::vector<Track> library;
  Track requested;
  std::vector<BrowserRow> rows;
  ExpectedPick expected;
};

// Listings of the forms recognition produces: clipped titles, titles merged
// with the artist, other versions, duplicates, strong artist rows.
const std::vector<BrowserScene>& browserScenes();

}  // namespace kesta::test
