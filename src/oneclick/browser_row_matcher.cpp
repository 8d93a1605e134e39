#include "oneclick/browser_row_matcher.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "library/text_tools.h"
#include "platform/text/unicode_text.h"
#include "reading/loose_form.h"

namespace kesta::BrowserRowMatcher {

namespace {

// A matching form held with its character boundaries, so that counts,
// positions and prefixes are in user-perceived characters.
class Chars {
 public:
  Chars() : bounds_{0} {}
  explicit Chars(std::string text) : text_(std::move(text)), bounds_(unicode::graphemeBoundaries(text_)) {}

  const std::string& text() const { return text_; }
  std::size_t count() const { return bounds_.size() - 1; }
  bool empty() const { return text_.empty(); }

  // Character i.
  std::string_view at(std::size_t i) const {
    return std::string_view(text_).substr(bounds_[i], bounds_[i + 1] - bounds_[i]);
  }
  // The first n characters, and what follows them.
  std::string_view head(std::size_t n) const { return std::string_view(text_).substr(0, bounds_[n]); }
  std::string_view tail(std::size_t n) const { return std::string_view(text_).substr(bounds_[n]); }

  bool isBoundary(std::size_t offset) const {
    return std::binary_search(bounds_.begin(), bounds_.end(), offset);
  }
  // Whole characters only: a prefix that ends inside a character does not count.
  bool startsWith(std::string_view prefix) const { return tailStartsWith(0, prefix); }
  // Whether the text from character n on begins with `prefix`.
  bool tailStartsWith(std::size_t n, std::string_view prefix) const {
    return tail(n).starts_with(prefix) && isBoundary(bounds_[n] + prefix.size());
  }
  bool endsWith(std::string_view suffix) const {
    return text_.ends_with(suffix) && isBoundary(text_.size() - suffix.size());
  }
  bool contains(std::string_view part) const {
    for (std::size_t from = 0; (from = text_.find(part, from)) != std::string::npos; ++from) {
      if (isBoundary(from) && isBoundary(from + part.size())) return true;
    }
    return false;
  }

 private:
  std::string text_;
  std::vector<std::size_t> bounds_;
};

Chars looseChars(std::string_view text) { return Chars(looseForm(text)); }
Chars normalizedChars(std::string_view text) { return Chars(TextTools::normalized(text)); }

// The requested track in every form the tests compare.
struct Wanted {
  std::string songKey;
  Chars normTitle;
  Chars normArtist;
  Chars looseTitle;
  Chars looseArtist;

  explicit Wanted(const Track& t)
      : songKey(t.songKey()),
        normTitle(normalizedChars(t.title)),
        normArtist(normalizedChars(t.artist)),
        looseTitle(looseChars(t.title)),
        looseArtist(looseChars(t.artist)) {}

  bool isSameSong(const Track& other) const { return other.songKey() == songKey; }
};

bool similarForms(const Chars& a, const Chars& b) {
  if (a.empty() || b.empty()) return false;
  if (a.text() == b.text()) return true;
  if (b.count() < 8) return false;
  const int limit = std::max(1, static_cast<int>(b.count() / 8));
  return TextTools::editDistance(a.text(), b.text(), limit).has_value();
}

// A title cut by its column, possibly through a half-drawn last letter.
bool clipped(const Chars& a, const Wanted& wanted) {
  const Chars& title = wanted.looseTitle;
  if (a.count() >= 8 && a.count() < title.count() && title.startsWith(a.text())) return true;
  return a.count() >= 9 && title.startsWith(a.head(a.count() - 1));
}

// Whether the rest of `a` from character p on and the artist begin one with the other.
bool restMeetsArtist(const Chars& a, std::size_t p, const Chars& artist) {
  return artist.startsWith(a.tail(p)) || a.tailStartsWith(p, artist.text());
}

// A clipped title read together with the artist cell after it.
bool mergedWithArtist(const Chars& a, const Wanted& wanted) {
  const Chars& title = wanted.looseTitle;
  if (wanted.looseArtist.empty()) return false;
  const std::size_t shorter = std::min(a.count(), title.count());
  std::size_t p = 0;
  while (p < shorter && a.at(p) == title.at(p)) ++p;
  if (p == shorter || p < 8 || a.count() - p < 4) return false;
  return restMeetsArtist(a, p, wanted.looseArtist);
}

// The whole title read together with the artist.
bool fullTitleThenArtist(const Chars& a, const Wanted& wanted) {
  const Chars& title = wanted.looseTitle;
  const Chars& artist = wanted.looseArtist;
  if (artist.empty() || title.count() < 3 || title.count() >= a.count()) return false;
  if (!a.startsWith(title.text())) return false;
  const std::size_t p = title.count();
  if (a.count() - p < std::min<std::size_t>(3, artist.count())) return false;
  return restMeetsArtist(a, p, artist);
}

bool endsWithEllipsis(std::string_view text) { return text.ends_with("\u2026") || text.ends_with("..."); }

// One reading of a recognised line in the forms the tests compare.
struct Reading {
  std::string text;
  Chars normalized;
  Chars loose;

  explicit Reading(std::string_view t) : text(t), normalized(normalizedChars(t)), loose(looseChars(t)) {}
};

// One in-region line with the forms every later step reads. A line that mixes
// directions has two readings and nothing on screen says which is right, so
// `normalized` and `loose` are the one that shows the title (else the first),
// and `other` keeps the other one.
struct Line {
  const TextBox& source;
  Chars normalized;
  Chars loose;
  std::optional<Reading> other;
  bool similarToTitle;  // in either reading
  bool candidate;
};

// A row cell in its loose forms; `other` is null unless its line has two readings.
struct Cell {
  const Chars* loose;
  const Chars* other;
};

double rowTolerance(const Rect& box) { return 0.6 * std::max(0.006, box.height); }

// One look at the browser against the requested track, with what every
// candidate line is judged by.
class Listing {
 public:
  Listing(std::span<const TextBox> lines, const Track& track, const LibraryIndex& index, const Rect& region)
      : wanted_(track), index_(index) {
    for (const TextBox& line : lines) {
      const double x = line.box.midX();
      const double y = line.box.midY();
      if (x < region.minX() || x >= region.maxX() || y < region.minY() || y >= region.maxY()) continue;
      lines_.push_back(read(line));
    }
    const auto& titleIDs = index.idsForTitle(wanted_.normTitle.text());
    distinctive_ = allSameSong(titleIDs) && index.longerTitles(wanted_.normTitle.text()).empty();
    for (const std::string& id : titleIDs) {
      const Track* other = index.track(id);
      if (other == nullptr || other->id == track.id || wanted_.isSameSong(*other)) continue;
      Chars artist = looseChars(other->artist);
      if (artist.empty() || artist.text() == wanted_.looseArtist.text()) continue;
      otherVersionArtists_.push_back(std::move(artist));
    }
  }

  const Wanted& wanted() const { return wanted_; }
  const std::vector<Line>& lines() const { return lines_; }

  // The row a candidate gives, if any; notes its centre in `strongArtistYs`
  // when the row shows the artist exactly.
  std::optional<MatchedRow> rowFor(const Line& c, std::vector<double>& strongArtistYs) const {
    const Rect& box = c.source.box;
    const double tolerance = rowTolerance(box);
    std::vector<const Line*> mates;
    for (const Line& b : lines_) {
      if (b.source.text == c.source.text && b.source.box == box) continue;
      if (std::abs(b.source.box.midY() - box.midY()) > tolerance || b.similarToTitle) continue;
      mates.push_back(&b);
    }

    const Chars& artist = wanted_.normArtist;
    const auto namesArtist = [&](const Chars& normalized, const Chars& loose) {
      return similarForms(loose, wanted_.looseArtist) ||
             (artist.count() >= 4 && normalized.contains(artist.text())) ||
             (normalized.count() >= 5 && artist.startsWith(normalized.text()));
    };
    const bool artistOnRow = !artist.empty() && std::ranges::any_of(mates, [&](const Line* m) {
      return namesArtist(m->normalized, m->loose) ||
             (m->other && namesArtist(m->other->normalized, m->other->loose));
    });
    const bool standsAlone =
        c.normalized.text() == wanted_.normTitle.text() && distinctive_ && (artist.empty() || mates.empty());
    const bool merged = mergedWithArtist(c.loose, wanted_);
    const bool full = fullTitleThenArtist(c.loose, wanted_);

    std::vector<Cell> cells;
    for (const Line* m : mates) cells.push_back(cellOf(*m));
    if (merged || full) cells.push_back(cellOf(c));

    // Only a cell with one reading settles the artist: a cell read two ways
    // could as well be another version's artist drawn in the other direction.
    const std::string& looseArtist = wanted_.looseArtist.text();
    const bool showsArtist = !looseArtist.empty() && std::ranges::any_of(cells, [&](const Cell& cell) {
      return cell.other == nullptr &&
             (cell.loose->text() == looseArtist || ((merged || full) && cell.loose->endsWith(looseArtist)));
    });
    if (!showsArtist && showsOtherVersion(cells)) return std::nullopt;

    bool sameSong = false;
    if ((clipped(c.loose, wanted_) || merged) && !c.similarToTitle) {
      // Only a shortened or merged form of the title: the artist must vouch for it.
      if (!(artistOnRow || merged || full)) return std::nullopt;
      sameSong = full;
    } else {
      if (!(standsAlone || artistOnRow || merged || full)) return std::nullopt;
      sameSong = artistOnRow || merged || full || distinctive_;
    }

    if (!looseArtist.empty()) {
      const bool strong =
          std::ranges::any_of(mates,
                              [&](const Line* m) { return !m->other && m->loose.text() == looseArtist; }) ||
          ((merged || full) && !c.other && c.loose.endsWith(looseArtist));
      if (strong) strongArtistYs.push_back(box.midY());
    }
    MatchedRow row{box, {}, sameSong};
    for (const Line* m : mates) row.others.push_back(m->source.text);
    return row;
  }

 private:
  bool allSameSong(const std::vector<std::string>& ids) const {
    return std::ranges::all_of(ids, [&](const std::string& id) {
      const Track* other = index_.track(id);
      return other != nullptr && wanted_.isSameSong(*other);
    });
  }

  static Cell cellOf(const Line& line) { return {&line.loose, line.other ? &line.other->loose : nullptr}; }

  // Some cell, in either reading, names the artist of another library version of the title.
  bool showsOtherVersion(const std::vector<Cell>& cells) const {
    const auto names = [&](const Chars& otherArtist, const Chars* o) {
      return o != nullptr && (o->text() == otherArtist.text() || o->endsWith(otherArtist.text()) ||
                              (o->count() > wanted_.looseArtist.count() && o->count() >= 4 &&
                               otherArtist.startsWith(o->text())));
    };
    return std::ranges::any_of(otherVersionArtists_, [&](const Chars& otherArtist) {
      return std::ranges::any_of(cells, [&](const Cell& cell) {
        return names(otherArtist, cell.loose) || names(otherArtist, cell.other);
      });
    });
  }

  // Another song's exact title, told by the library.
  bool isOtherSongsTitle(const Chars& normalized) const {
    if (normalized.text() == wanted_.normTitle.text()) return false;
    const auto& ids = index_.idsForTitle(normalized.text());
    return !ids.empty() && !allSameSong(ids);
  }

  // The reading shows the requested title in one of its forms.
  bool showsTitle(const Reading& r) const {
    return similarForms(r.loose, wanted_.looseTitle) ||
           (endsWithEllipsis(r.text) && r.normalized.count() >= 6 &&
            wanted_.normTitle.startsWith(r.normalized.text())) ||
           clipped(r.loose, wanted_) || mergedWithArtist(r.loose, wanted_) ||
           fullTitleThenArtist(r.loose, wanted_);
  }

  // A title candidate shows the requested title in one of its forms, and
  // neither of its readings is another song's exact title: a line read as two
  // songs' titles is neither. The other reading counts only when the first
  // shows no title.
  Line read(const TextBox& line) const {
    Reading first(line.text);
    std::optional<Reading> other;
    if (!line.otherOrder.empty()) other.emplace(line.otherOrder);
    const bool similarToTitle = similarForms(first.loose, wanted_.looseTitle) ||
                                (other && similarForms(other->loose, wanted_.looseTitle));
    const bool otherSong =
        isOtherSongsTitle(first.normalized) || (other && isOtherSongsTitle(other->normalized));
    bool candidate = !otherSong && showsTitle(first);
    if (!otherSong && !candidate && other && showsTitle(*other)) {
      std::swap(first, *other);
      candidate = true;
    }
    return {line,     std::move(first.normalized), std::move(first.loose), std::move(other), similarToTitle,
            candidate};
  }

  Wanted wanted_;
  const LibraryIndex& index_;
  std::vector<Line> lines_;
  bool distinctive_ = false;
  std::vector<Chars> otherVersionArtists_;
};

// Recognition may read several title lines on one row (a clipped line and a
// merged one, say): they make one group.
std::vector<MatchedRow> grouped(std::vector<MatchedRow> rows) {
  std::vector<MatchedRow> groups;
  for (MatchedRow& row : rows) {
    const double tolerance = rowTolerance(row.box);
    const auto joined = std::ranges::find_if(groups, [&](const MatchedRow& group) {
      return std::abs(group.box.midY() - row.box.midY()) < tolerance;
    });
    if (joined == groups.end()) {
      groups.push_back(std::move(row));
      continue;
    }
    joined->others.insert(joined->others.end(), row.others.begin(), row.others.end());
    joined->sameSong = joined->sameSong && row.sameSong;
  }
  return groups;
}

}  // namespace

bool similar(std::string_view text, std::string_view reference) {
  return similarForms(looseChars(text), looseChars(reference));
}

RowPick pick(std::span<const TextBox> lines, const Track& track, const LibraryIndex& index,
             const Rect& region) {
  if (TextTools::normalized(track.title).empty()) return RowPick::notFound();
  const Listing listing(lines, track, index, region);

  std::vector<MatchedRow> rows;
  std::vector<double> strongArtistYs;
  for (const Line& line : listing.lines()) {
    if (!line.candidate) continue;
    if (auto row = listing.rowFor(line, strongArtistYs)) rows.push_back(std::move(*row));
  }
  const std::vector<MatchedRow> groups = grouped(std::move(rows));

  if (groups.empty()) return RowPick::notFound();
  if (groups.size() == 1) return RowPick::row(groups.front().box);

  const auto groupCount = static_cast<int>(groups.size());
  std::vector<const MatchedRow*> strongGroups;
  for (const MatchedRow& group : groups) {
    const double tolerance = rowTolerance(group.box);
    if (std::ranges::any_of(strongArtistYs,
                            [&](double y) { return std::abs(y - group.box.midY()) < tolerance; })) {
      strongGroups.push_back(&group);
    }
  }
  if (strongGroups.size() == 1) return RowPick::row(strongGroups.front()->box);
  if (std::ranges::any_of(groups, [](const MatchedRow& group) { return !group.sameSong; })) {
    return RowPick::ambiguous(groupCount);
  }
  if (const auto box = duplicateTieBreak(groups, track)) return RowPick::row(*box);
  return RowPick::ambiguous(groupCount);
}

}  // namespace kesta::BrowserRowMatcher
