#include "reading/track_matcher.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <map>
#include <unordered_map>
#include <utility>

#include "library/text_tools.h"
#include "platform/ocr/line_text.h"
#include "platform/text/readout_text.h"
#include "platform/text/unicode_text.h"

namespace kesta::TrackMatcher {

namespace {

// Below this best score no candidate is trusted on its own.
constexpr int kTrustedScore = 55;

std::size_t characterCount(std::string_view text) { return unicode::graphemeCount(text); }

// One usable recognised line.
struct Line {
  std::string raw;
  std::string norm;  // never empty
  std::size_t length = 0;
  bool truncated = false;
  WordSet tokens;  // words of two or more characters
  bool looksLikeClock = false;
};

WordSet wordsOfTwoOrMore(std::string_view text) {
  WordSet words;
  for (auto& word : TextTools::tokens(text))
    if (characterCount(word) >= 2) words.insert(std::move(word));
  return words;
}

std::optional<Line> usableLine(std::string_view text) {
  Line line;
  line.raw = unicode::trimmed(text, unicode::isWhitespaceOrNewline);
  line.norm = TextTools::normalized(line.raw);
  if (line.norm.empty()) return std::nullopt;
  line.length = characterCount(line.norm);
  line.truncated = line.raw.ends_with("…") || line.raw.ends_with("...");
  line.tokens = wordsOfTwoOrMore(line.raw);
  line.looksLikeClock = readout::isClock(line.raw);
  return line;
}

bool allScalars(std::string_view text, bool (*test)(char32_t)) {
  const std::u32string scalars = unicode::toScalars(text);
  return std::all_of(scalars.begin(), scalars.end(), test);
}

bool anyScalar(std::string_view text, bool (*test)(char32_t)) {
  const std::u32string scalars = unicode::toScalars(text);
  return std::any_of(scalars.begin(), scalars.end(), test);
}

// Ids are views into the index, which outlives every match.
struct Candidate {
  std::string_view id;
  int score = 0;
  MatchStrength strength = MatchStrength::normal;
  std::string_view rule;
};

std::vector<std::string> sortedUnique(std::vector<std::string> ids) {
  std::sort(ids.begin(), ids.end());
  ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
  return ids;
}

std::vector<std::string> idsOf(const std::vector<Candidate>& candidates) {
  std::vector<std::string> ids;
  ids.reserve(candidates.size());
  for (const auto& candidate : candidates) ids.emplace_back(candidate.id);
  return ids;
}

// Among several library entries, the one that best fits what the deck shows:
// the shown key counts most, then a BPM within 2 %, then being suggestible;
// the smaller stable key settles the rest.
std::string chooseAmongDuplicates(const std::vector<std::string>& ids, const Hints& hints,
                                  const LibraryIndex& index) {
  std::vector<const Track*> tracks;
  for (const auto& id : ids)
    if (const Track* track = index.track(id)) tracks.push_back(track);
  if (tracks.size() < 2) return ids.front();
  const auto preference = [&](const Track& track) {
    int value = 0;
    if (hints.key && track.musicalKey == hints.key) value += 4;
    if (hints.bpm && track.bpm && std::abs(*track.bpm - *hints.bpm) / *track.bpm <= 0.02) value += 2;
    if (track.isRecommendable()) value += 1;
    return value;
  };
  const auto best = std::min_element(tracks.begin(), tracks.end(), [&](const Track* a, const Track* b) {
    const int pa = preference(*a);
    const int pb = preference(*b);
    return pa != pb ? pa > pb : a->key < b->key;
  });
  return (*best)->id;
}

// Between two or more songs, the one whose artist is shown on a line, else the
// one whose key the deck shows; nothing when neither singles out one song.
std::optional<std::vector<Candidate>> settleTie(const std::map<std::string, std::vector<Candidate>>& groups,
                                                const std::vector<std::string>& lines, const Hints& hints,
                                                const LibraryIndex& index) {
  const auto onlyGroup = [&](auto&& qualifies) -> std::optional<std::vector<Candidate>> {
    const std::vector<Candidate>* found = nullptr;
    for (const auto& [song, candidates] : groups) {
      const bool any = std::any_of(candidates.begin(), candidates.end(), [&](const Candidate& candidate) {
        const Track* track = index.track(candidate.id);
        return track && qualifies(*track);
      });
      if (!any) continue;
      if (found) return std::nullopt;
      found = &candidates;
    }
    if (!found) return std::nullopt;
    return *found;
  };
  if (auto byArtist = onlyGroup([&](const Track& track) {
        const std::string artist = TextTools::normalized(track.artist);
        return !artist.empty() && std::find(lines.begin(), lines.end(), artist) != lines.end();
      }))
    return byArtist;
  if (hints.key) return onlyGroup([&](const Track& track) { return track.musicalKey == hints.key; });
  return std::nullopt;
}

// A track's normalised artist as lines are searched for it.
struct ArtistForm {
  const std::string* norm = nullptr;
  std::size_t length = 0;
  std::vector<std::string_view> words;  // artist words of three characters or more
};

ArtistForm artistForm(const std::string& norm, std::string_view id, const LibraryIndex& index) {
  ArtistForm form{&norm, characterCount(norm), {}};
  for (const auto& word : index.artistTokenSet(id))
    if (characterCount(word) >= 3) form.words.push_back(word);
  return form;
}

// Whether a text shows the artist whole, cut off, or by its words. A text
// known to be cut shows the beginning of a longer one: it shows only an
// artist it begins, of five characters or more unless it is all of it.
bool showsArtist(const ArtistForm& artist, std::string_view norm, std::size_t length, const WordSet& tokens,
                 bool cut) {
  const std::string& whole = *artist.norm;
  if (norm == whole) return true;
  if (cut) return length >= 5 && whole.starts_with(norm);
  if (artist.length >= 4 && norm.find(whole) != std::string_view::npos) return true;
  if (length >= 5 && whole.starts_with(norm) && 10 * length >= 6 * artist.length) return true;
  if (artist.words.empty()) return false;
  const auto shared = static_cast<std::size_t>(std::count_if(
      artist.words.begin(), artist.words.end(), [&](std::string_view w) { return tokens.contains(w); }));
  return shared >= (artist.words.size() == 1 ? 1u : 2u) && 2 * shared >= artist.words.size();
}

// The candidate search over the content lines of one deck.
class CandidateSearch {
 public:
  CandidateSearch(const std::vector<Line>& lines, const LibraryIndex& index) : lines_(lines), index_(index) {}

  std::vector<Candidate> run() {
    for (std::size_t i = 0; i < lines_.size(); ++i) propose(i);
    return std::move(candidates_);
  }

 private:
  void add(std::string_view id, int score, MatchStrength strength, std::string_view rule) {
    candidates_.push_back({id, score, strength, rule});
  }

  void propose(std::size_t current) {
    current_ = current;
    shownOnOtherLines_.clear();
    const Line& line = lines_[current];
    const std::string& n = line.norm;
    const std::size_t c = line.length;
    const bool weak = c < 4 || allScalars(n, unicode::isNumeric);
    if (weak && line.raw.find(':') != std::string::npos) return;

    const std::vector<std::string>& exactIds = index_.idsForTitle(n);
    const bool beginsLonger = !exactIds.empty() && !index_.longerTitles(n).empty();
    // Cut off, or the beginning of a longer title: the line may name another track.
    const bool sharedPrefix = line.truncated || beginsLonger;
    // A line cut short shows the start of a longer title: where longer titles
    // begin with it, the artist shown does not make it the shorter one.
    const bool cutLonger = line.truncated && beginsLonger;
    for (const auto& id : exactIds) {
      if (!cutLonger && artistConfirmed(id, std::nullopt))
        add(id, 100, MatchStrength::strong, Rule::exactArtist);
      else if (weak)
        continue;
      else if (!sharedPrefix)
        add(id, c >= 8 ? 90 : 80, c >= 8 ? MatchStrength::strong : MatchStrength::normal, Rule::exact);
      else
        add(id, 55, MatchStrength::normal, Rule::exactSharedPrefix);
    }
    if (!exactIds.empty() && !line.truncated) return;

    const bool beginsTitles = c >= 6 && proposeLonger(line);
    if (!exactIds.empty()) return;
    // A line cut short whose start is that of titles is read as it shows;
    // a misread start is looked for only where no title begins with it.
    if (!(line.truncated && beginsTitles)) proposeNear(line);

    if (c >= 6)
      for (const auto title : index_.titlesContained(n)) {
        const std::string remainder = replacingAll(n, title, " ");
        for (const auto& id : index_.idsForTitle(title))
          if (artistConfirmed(id, remainder)) add(id, 74, MatchStrength::normal, Rule::mergedArtist);
      }
  }

  // Whether the track's own title ends in dots, so that a line cut short may
  // show all of it: "Wait for it..." looks the same whole as its extended
  // mix cut there.
  bool endsInDots(std::string_view id) const {
    const Track* track = index_.track(id);
    return track && LineText::endsWithEllipsis(track->title);
  }

  // The prefix stage: titles that begin with the line and go on, and for a
  // line cut short the line's own title where it ends in dots, standing with
  // them. Whether any title goes on.
  bool proposeLonger(const Line& line) {
    const std::size_t c = line.length;
    std::vector<std::string_view> longer = index_.titlesWithPrefix(line.norm);
    std::erase(longer, std::string_view(line.norm));
    if (longer.empty()) return false;
    if (!line.truncated && c < 10) return true;
    std::vector<std::string_view> ids;
    if (line.truncated)
      for (const auto& id : index_.idsForTitle(line.norm))
        if (endsInDots(id)) ids.push_back(id);
    const std::size_t titles = longer.size() + (ids.empty() ? 0 : 1);
    const int score = titles == 1 && c >= 10 ? 60 : 40;
    for (const auto title : longer)
      for (const auto& id : index_.idsForTitle(title)) ids.push_back(id);
    for (const auto id : ids) {
      if (artistConfirmed(id, std::nullopt))
        add(id, 78, MatchStrength::normal, Rule::prefixArtist);
      else if (line.truncated)
        add(id, score, MatchStrength::normal, Rule::prefix);
    }
    return true;
  }

  // The near stage: titles a few edits away. A line cut short is the start
  // of titles that go on from a beginning a few edits away, or all of a
  // title that ends in dots; where no title goes on, it reads as a whole line.
  void proposeNear(const Line& line) {
    const std::size_t c = line.length;
    const int limit = std::max(1, static_cast<int>(c / 10));
    const auto propose = [&](const LibraryIndex::NearTitle& near, std::string_view id) {
      if (artistConfirmed(id, std::nullopt))
        add(id, 76 - near.distance, MatchStrength::normal, Rule::nearArtist);
      else if (near.distance == 1 && c >= 10)
        add(id, 58, MatchStrength::normal, Rule::near);
    };
    const auto beginnings =
        line.truncated ? index_.nearBeginnings(line.norm, limit) : std::vector<LibraryIndex::NearTitle>{};
    for (const auto& near : beginnings)
      for (const auto& id : index_.idsForTitle(near.title)) propose(near, id);
    for (const auto& near : index_.nearTitles(line.norm, limit))
      for (const auto& id : index_.idsForTitle(near.title))
        if (beginnings.empty() || endsInDots(id)) propose(near, id);
  }

  static std::string replacingAll(std::string_view text, std::string_view target, std::string_view with) {
    std::string out;
    std::size_t from = 0;
    for (std::size_t at = text.find(target); at != std::string_view::npos; at = text.find(target, from)) {
      out.append(text.substr(from, at - from)).append(with);
      from = at + target.size();
    }
    out.append(text.substr(from));
    return out;
  }

  // Whether the track's artist shows on the remainder of the current line (when
  // given) or on another content line, whole, cut off, or by its words. In a
  // line cut short, a title found inside names its track only with the artist
  // run together with it: the rest of the line, cut as the line is.
  bool artistConfirmed(std::string_view id, const std::optional<std::string>& remainder) {
    const std::string* artist = index_.artist(id);
    if (!artist || artist->empty()) return false;
    // Entries of one artist share one normalised text in the index.
    auto form = artists_.find(artist);
    if (form == artists_.end()) form = artists_.emplace(artist, artistForm(*artist, id, index_)).first;
    const ArtistForm& shape = form->second;

    const bool cut = lines_[current_].truncated;
    if (remainder) {
      const std::string norm = TextTools::normalized(*remainder);
      if (showsArtist(shape, norm, characterCount(norm), wordsOfTwoOrMore(*remainder), cut)) return true;
      if (cut) return false;
    }
    const auto [known, unseen] = shownOnOtherLines_.try_emplace(artist, false);
    if (unseen)
      for (std::size_t i = 0; i < lines_.size() && !known->second; ++i)
        known->second = i != current_ && showsArtist(shape, lines_[i].norm, lines_[i].length,
                                                     lines_[i].tokens, lines_[i].truncated);
    return known->second;
  }

  const std::vector<Line>& lines_;
  const LibraryIndex& index_;
  std::size_t current_ = 0;
  std::vector<Candidate> candidates_;
  std::unordered_map<const std::string*, ArtistForm> artists_;
  // Per current line: whether an artist shows on one of the other lines.
  std::unordered_map<const std::string*, bool> shownOnOtherLines_;
};

MatchResult result(DeckReading reading, std::string_view rule, int score = 0) {
  return {std::move(reading), std::string(rule), score};
}

// The lines that may be a title: no clock, interface word or readout.
std::vector<Line> contentLines(std::vector<Line> usable) {
  std::vector<Line> content;
  for (auto& line : usable)
    if (!line.looksLikeClock && !interfaceWords().contains(line.norm) && !isMetadataToken(line.raw))
      content.push_back(std::move(line));
  return content;
}

// More than two lines that are library titles: a list of tracks, not one deck.
bool showsTrackList(const std::vector<Line>& content, const LibraryIndex& index) {
  std::set<std::string_view> shownTitles;
  for (const auto& line : content)
    if (!index.idsForTitle(line.norm).empty()) shownTitles.insert(line.norm);
  return shownTitles.size() > 2;
}

// One candidate per id: its highest score, the earliest among equals; none
// whose score fell below zero.
std::vector<Candidate> bestPerId(const std::vector<Candidate>& candidates) {
  std::vector<Candidate> kept;
  std::unordered_map<std::string_view, std::size_t> keptById;
  for (const auto& candidate : candidates) {
    if (candidate.score < 0) continue;
    const auto [slot, inserted] = keptById.try_emplace(candidate.id, kept.size());
    if (inserted)
      kept.push_back(candidate);
    else if (candidate.score > kept[slot->second].score)
      kept[slot->second] = candidate;
  }
  return kept;
}

// No library candidate: the first one or two legible lines name the unlisted track.
MatchResult unmatchedVerdict(const std::vector<Line>& content) {
  std::vector<std::string> legible;
  for (const auto& line : content) {
    if (legible.size() == 2) break;
    if (line.length >= 3 &&
        (anyScalar(line.norm, unicode::isLetter) || allScalars(line.norm, unicode::isNumeric)))
      legible.push_back(line.norm);
  }
  if (legible.empty()) return result(DeckReading::noTitle(), Rule::controlsOnly);
  return result(DeckReading::unmatched(legible.size() == 1 ? legible[0] : legible[0] + "|" + legible[1]),
                Rule::noLibraryMatch);
}

// The best candidates are one song: one of its tracks, unless the title is
// only the shared start of longer library titles.
MatchResult oneSongVerdict(const std::vector<Candidate>& top, const Hints& hints, const LibraryIndex& index) {
  const std::string chosen = chooseAmongDuplicates(idsOf(top), hints, index);
  const Candidate& picked =
      *std::find_if(top.begin(), top.end(), [&](const Candidate& c) { return c.id == chosen; });
  if (picked.rule == Rule::exactSharedPrefix) {
    std::vector<std::string> ids{std::string(picked.id)};
    if (const Track* track = index.track(picked.id))
      for (const auto title : index.longerTitles(TextTools::normalized(track->title)))
        for (const auto& id : index.idsForTitle(title)) ids.push_back(id);
    return result(DeckReading::ambiguous(sortedUnique(std::move(ids))), Rule::exactSharedPrefix,
                  picked.score);
  }
  std::string rule(picked.rule);
  if (top.size() > 1) rule += Rule::duplicates;
  return result(DeckReading::track(std::string(picked.id), picked.strength), rule, picked.score);
}

}  // namespace

const WordSet& interfaceWords() {
  // clang-format off
  static const WordSet words = {
      "trim", "cue", "sync", "master", "bpm", "hotcue", "loop", "stems", "vocal", "inst", "bass", "drums",
      "play", "pause", "slip", "mute", "keysync", "beatsync", "quantize", "effects", "filter", "gain", "high",
      "mid", "low", "key", "tempo", "reloop", "auto", "beat", "grid", "memory", "remain", "elapsed", "wide",
      "range", "reset", "mt", "q", "a", "b", "1", "2", "3", "4", "deck", "deck1", "deck2", "loading",
      "nowloading", "analyzing", "analysing", "nowanalyzing", "buffering", "downloading", "pleasewait",
  };
  // clang-format on
  return words;
}

const WordSet& emptyIndicators() {
  static const WordSet phrases = {"notloaded", "notrackloaded", "notrack", "noloadedtrack"};
  return phrases;
}

bool showsArtist(std::span<const std::string> texts, std::string_view id, const LibraryIndex& index) {
  const std::string* artist = index.artist(id);
  if (!artist || artist->empty()) return false;
  const ArtistForm form = artistForm(*artist, id, index);
  return std::any_of(texts.begin(), texts.end(), [&](const std::string& text) {
    const auto line = usableLine(text);
    return line && showsArtist(form, line->norm, line->length, line->tokens, line->truncated);
  });
}

MatchResult match(std::span<const std::string> texts, const LibraryIndex& index) {
  std::vector<Line> usable;
  for (const auto& text : texts)
    if (auto line = usableLine(text)) usable.push_back(std::move(*line));

  if (usable.empty()) return result(DeckReading::unreadable(), Rule::noText);
  if (std::any_of(usable.begin(), usable.end(),
                  [](const Line& line) { return emptyIndicators().contains(line.norm); }))
    return result(DeckReading::empty(), Rule::emptyIndicator);

  const std::vector<Line> content = contentLines(std::move(usable));
  if (content.empty()) return result(DeckReading::noTitle(), Rule::controlsOnly);
  if (showsTrackList(content, index)) return result(DeckReading::unreadable(), Rule::trackList);

  // Candidates whose score fell below zero count as none: an ambiguous verdict
  // with no ids would name no track at all.
  const std::vector<Candidate> kept = bestPerId(CandidateSearch(content, index).run());
  if (kept.empty()) return unmatchedVerdict(content);

  const int best = std::max_element(kept.begin(), kept.end(), [](const auto& a, const auto& b) {
                     return a.score < b.score;
                   })->score;
  if (best < kTrustedScore)
    return result(DeckReading::ambiguous(sortedUnique(idsOf(kept))), Rule::weakOnly, best);

  std::vector<Candidate> top;
  std::copy_if(kept.begin(), kept.end(), std::back_inserter(top),
               [&](const Candidate& c) { return c.score == best; });
  std::map<std::string, std::vector<Candidate>> songs;
  for (const auto& candidate : top) {
    const Track* track = index.track(candidate.id);
    songs[track ? track->songKey() : std::string(candidate.id)].push_back(candidate);
  }
  const Hints hints = metadataHints(texts);
  if (songs.size() == 1) return oneSongVerdict(top, hints, index);

  // A line cut short is the start of a longer text: never an artist whole.
  std::vector<std::string> lineNorms;
  for (const auto& line : content)
    if (!line.truncated) lineNorms.push_back(line.norm);
  if (const auto settled = settleTie(songs, lineNorms, hints, index))
    return result(
        DeckReading::track(chooseAmongDuplicates(idsOf(*settled), hints, index), MatchStrength::normal),
        Rule::tieSettled, best);
  return result(DeckReading::ambiguous(sortedUnique(idsOf(top))),
                std::string(Rule::tie) + std::string(top.front().rule), best);
}

}  // namespace kesta::TrackMatcher
