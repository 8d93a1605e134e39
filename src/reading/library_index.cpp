#include "reading/library_index.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <span>

#include "library/text_tools.h"
#include "platform/text/unicode_text.h"

namespace kesta {

namespace {

// Titles share buckets by their first and their last this many characters.
constexpr std::size_t kBucketChars = 4;
constexpr std::size_t kNearMinimum = 6;
constexpr std::size_t kContainedMinimum = 6;

// Not noexcept on purpose: libstdc++ then keeps each key's hash in its node
// instead of hashing the keys again while walking a bucket.
struct StringHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};

template <class V>
using ViewMap = std::unordered_map<std::string_view, V, StringHash, std::equal_to<>>;

// Eight bytes at a time: every title and artist of a library passes here.
bool isAscii(std::string_view text) {
  std::size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, text.data() + i, 8);
    if (word & 0x8080808080808080u) return false;
  }
  for (; i < text.size(); ++i)
    if (static_cast<unsigned char>(text[i]) >= 0x80) return false;
  return true;
}

// A text's user-perceived characters as byte offsets (their starts, then the end).
class Characters {
 public:
  explicit Characters(std::string_view text) : text_(text), ascii_(isAscii(text)) {
    if (!ascii_) bounds_ = unicode::graphemeBoundaries(text);
  }

  std::size_t count() const { return ascii_ ? text_.size() : bounds_.size() - 1; }
  // Byte offset of the character at `index` (index == count() gives the end).
  std::size_t offset(std::size_t index) const { return ascii_ ? index : bounds_[index]; }
  std::string_view first(std::size_t n) const { return text_.substr(0, offset(std::min(n, count()))); }
  std::string_view last(std::size_t n) const { return text_.substr(offset(count() - std::min(n, count()))); }
  // The n characters from character `index` on.
  std::string_view slice(std::size_t index, std::size_t n) const {
    return text_.substr(offset(index), offset(index + n) - offset(index));
  }

 private:
  std::string_view text_;
  bool ascii_;
  std::vector<std::size_t> bounds_;
};

std::size_t scalarCount(std::string_view text) {
  return static_cast<std::size_t>(std::count_if(
      text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

bool inDetectionOnlyRange(char32_t c) {
  return (c >= 0x0590 && c <= 0x06FF) || (c >= 0x0E00 && c <= 0x0E7F) || (c >= 0x1100 && c <= 0x11FF) ||
         (c >= 0x3040 && c <= 0x30FF) || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) ||
         (c >= 0xAC00 && c <= 0xD7AF) || (c >= 0xF900 && c <= 0xFAFF);
}

// Latin-1 letters (not × and ÷), Latin Extended-A and -B, Latin Extended Additional.
bool isLatinBeyondEnglish(char32_t c) {
  return (c >= 0x00C0 && c <= 0x024F && c != 0x00D7 && c != 0x00F7) || (c >= 0x1E00 && c <= 0x1EFF);
}

// The first eight bytes of a text as one number that orders like the text.
std::uint64_t leadingBytes(std::string_view text) {
  std::uint64_t key = 0;
  for (std::size_t i = 0; i < 8; ++i)
    key = (key << 8) | (i < text.size() ? static_cast<unsigned char>(text[i]) : 0u);
  return key;
}

// Sorts title positions by their texts, comparing leading bytes as numbers
// first: most comparisons of a large library end there.
template <class Title>
void sortByText(std::vector<std::uint32_t>& positions, const std::vector<Title>& titles) {
  struct Entry {
    std::uint64_t lead;
    std::uint32_t position;
  };
  std::vector<Entry> entries;
  entries.reserve(positions.size());
  for (const auto i : positions) entries.push_back({leadingBytes(titles[i].text), i});
  std::sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
    return a.lead != b.lead ? a.lead < b.lead : titles[a.position].text < titles[b.position].text;
  });
  for (std::size_t i = 0; i < entries.size(); ++i) positions[i] = entries[i].position;
}

const std::vector<std::string>& noIds() {
  static const std::vector<std::string> none;
  return none;
}

const std::set<std::string>& noTokens() {
  static const std::set<std::string> none;
  return none;
}

// Whether the text holds a scalar in U+0080...U+FFFF for which `in` holds.
bool containsScalarIn(std::string_view text, bool (*in)(char32_t)) {
  if (isAscii(text)) return false;
  // Every range asked about lies below U+10000, written as two or three
  // bytes of UTF-8; decoding just those in place keeps the scan free of copies.
  const auto byte = [&](std::size_t i) { return i < text.size() ? static_cast<unsigned char>(text[i]) : 0u; };
  const auto continuation = [&](std::size_t i) { return (byte(i) & 0xC0u) == 0x80u; };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned lead = byte(i);
    if (lead < 0xC0) continue;
    char32_t scalar = 0;
    if (lead < 0xE0 && continuation(i + 1))
      scalar = ((lead & 0x1Fu) << 6) | (byte(i + 1) & 0x3Fu);
    else if (lead < 0xF0 && continuation(i + 1) && continuation(i + 2))
      scalar = ((lead & 0x0Fu) << 12) | ((byte(i + 1) & 0x3Fu) << 6) | (byte(i + 2) & 0x3Fu);
    if (in(scalar)) return true;
  }
  return false;
}

}  // namespace

// Every key is a view into the shared library or into `titles`, which never
// move once built, so the tables copy no text.
struct LibraryIndex::Tables {
  struct Title {
    std::string text;
    std::size_t characters = 0;
    std::size_t scalars = 0;
    std::size_t headBytes = 0;  // bytes of its first four characters
    std::vector<std::string> ids;
  };
  struct Artist {
    std::string normalized;
    std::set<std::string> tokens;
  };

  // Where a track stands: the entry under its id and, for a titled track, its artist.
  struct Entry {
    const Track* track = nullptr;
    std::optional<std::uint32_t> artist;  // position in `artists`
  };

  std::shared_ptr<const Library> library;
  ViewMap<Entry> tracksByID;
  std::vector<Title> titles;                // in the order of first appearance; never reallocated
  std::vector<std::string> allTitles;       // the texts of `titles`
  ViewMap<std::uint32_t> byTitle;           // title → position in `titles`
  std::vector<std::uint32_t> sortedTitles;  // positions in `titles`, by text
  // For near lookups: titles of four characters or more by their first and by
  // their last four characters, each bucket ordered by length in scalars.
  ViewMap<std::vector<std::uint32_t>> titlesByHead;
  ViewMap<std::vector<std::uint32_t>> titlesByTail;
  std::vector<Artist> artists;  // one per distinct artist text
  bool needsLanguageDetection = false;
  bool hasLatinBeyondEnglish = false;
  std::uint8_t scripts = 0;  // Script flags of every title and artist

  explicit Tables(std::shared_ptr<const Library> shared);
  // The views above point into this very object.
  Tables(const Tables&) = delete;
  Tables& operator=(const Tables&) = delete;

  const Title* find(std::string_view title) const {
    const auto it = byTitle.find(title);
    return it == byTitle.end() ? nullptr : &titles[it->second];
  }

  const std::vector<std::uint32_t>* bucket(const ViewMap<std::vector<std::uint32_t>>& table,
                                           std::string_view key) const {
    const auto it = table.find(key);
    return it == table.end() ? nullptr : &it->second;
  }

  // The titles that begin with `prefix`, as a run of `sortedTitles`.
  std::span<const std::uint32_t> startingWith(std::string_view prefix) const {
    const auto text = [this](std::uint32_t i) -> std::string_view { return titles[i].text; };
    const auto first = std::lower_bound(sortedTitles.begin(), sortedTitles.end(), prefix,
                                        [&](std::uint32_t i, std::string_view p) { return text(i) < p; });
    auto last = first;
    while (last != sortedTitles.end() && text(*last).starts_with(prefix)) ++last;
    return {first, last};
  }
};

LibraryIndex::Tables::Tables(std::shared_ptr<const Library> shared) : library(std::move(shared)) {
  const std::vector<Track>& tracks = library->tracks;
  tracksByID.reserve(tracks.size());
  titles.reserve(tracks.size());

  // Many tracks share one artist: normalise each artist text once.
  ViewMap<std::uint32_t> artistByText;
  std::vector<const Track*> untitled;
  for (const Track& track : tracks) {
    if (!track.hasTitle()) {
      untitled.push_back(&track);
      continue;
    }
    std::string title = TextTools::normalized(track.title);
    auto found = byTitle.find(title);
    if (found == byTitle.end()) {
      Title entry;
      entry.text = std::move(title);
      titles.push_back(std::move(entry));
      found = byTitle.emplace(titles.back().text, static_cast<std::uint32_t>(titles.size() - 1)).first;
    }
    titles[found->second].ids.push_back(track.id);

    const auto [artist, newArtist] =
        artistByText.try_emplace(track.artist, static_cast<std::uint32_t>(artists.size()));
    if (newArtist)
      artists.push_back({TextTools::normalized(track.artist), TextTools::artistTokens(track.artist)});
    tracksByID.insert_or_assign(track.id, Entry{&track, artist->second});
  }
  // An untitled track takes over its id but leaves a titled one's artist.
  for (const Track* track : untitled) tracksByID[track->id].track = track;

  allTitles.reserve(titles.size());
  sortedTitles.reserve(titles.size());
  for (std::size_t i = 0; i < titles.size(); ++i) {
    Title& title = titles[i];
    const auto position = static_cast<std::uint32_t>(i);
    allTitles.push_back(title.text);
    sortedTitles.push_back(position);
    const Characters characters(title.text);
    title.characters = characters.count();
    title.scalars = scalarCount(title.text);
    title.headBytes = characters.first(kBucketChars).size();
    if (title.characters < kBucketChars) continue;
    titlesByHead[characters.first(kBucketChars)].push_back(position);
    titlesByTail[characters.last(kBucketChars)].push_back(position);
  }
  sortByText(sortedTitles, titles);
  // Near lookups take the titles of a bucket by length.
  const auto byLength = [&](std::uint32_t a, std::uint32_t b) {
    return titles[a].scalars < titles[b].scalars;
  };
  for (auto* table : {&titlesByHead, &titlesByTail})
    for (auto& [key, bucket] : *table) std::stable_sort(bucket.begin(), bucket.end(), byLength);

  needsLanguageDetection = std::any_of(tracks.begin(), tracks.end(), [](const Track& t) {
    return hasDetectionOnlyScript(t.title) || hasDetectionOnlyScript(t.artist);
  });
  if (needsLanguageDetection) {
    for (const Track& t : tracks) scripts |= scriptsOf(t.title) | scriptsOf(t.artist);
  }
  hasLatinBeyondEnglish = std::any_of(tracks.begin(), tracks.end(), [](const Track& t) {
    return LibraryIndex::hasLatinBeyondEnglish(t.title) || LibraryIndex::hasLatinBeyondEnglish(t.artist);
  });
}

LibraryIndex::LibraryIndex() : LibraryIndex(std::make_shared<const Library>()) {}

LibraryIndex::LibraryIndex(const Library& library) : LibraryIndex(std::make_shared<const Library>(library)) {}

LibraryIndex::LibraryIndex(std::shared_ptr<const Library> library)
    : tables_(
          std::make_shared<const Tables>(library ? std::move(library) : std::make_shared<const Library>())) {}

bool LibraryIndex::hasDetectionOnlyScript(std::string_view text) {
  return containsScalarIn(text, inDetectionOnlyRange);
}

bool LibraryIndex::hasLatinBeyondEnglish(std::string_view text) {
  return containsScalarIn(text, isLatinBeyondEnglish);
}

std::uint8_t LibraryIndex::scriptsOf(std::string_view text) {
  if (!hasDetectionOnlyScript(text)) return 0;
  bool kana = false, ideographs = false;
  std::uint8_t out = 0;
  const auto add = [&](Script script) { out |= std::uint8_t(script); };
  for (const char32_t c : unicode::toScalars(text)) {
    if (c >= 0x0590 && c <= 0x05FF) add(Script::hebrew);
    if (c >= 0x0600 && c <= 0x06FF) add(Script::arabic);
    if (c >= 0x0E00 && c <= 0x0E7F) add(Script::thai);
    if ((c >= 0x1100 && c <= 0x11FF) || (c >= 0xAC00 && c <= 0xD7AF)) add(Script::korean);
    kana = kana || (c >= 0x3040 && c <= 0x30FF);
    ideographs = ideographs || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) ||
                 (c >= 0xF900 && c <= 0xFAFF);
  }
  // The Japanese model reads the ideographs Japanese writes among its kana.
  if (kana) add(Script::japanese);
  if (ideographs && !kana) add(Script::chinese);
  return out;
}

RecognitionLanguages LibraryIndex::recognitionLanguages() const {
  return {tables_->hasLatinBeyondEnglish, tables_->scripts};
}

const Track* LibraryIndex::track(std::string_view id) const {
  const auto it = tables_->tracksByID.find(id);
  return it == tables_->tracksByID.end() ? nullptr : it->second.track;
}

std::size_t LibraryIndex::trackCount() const { return tables_->tracksByID.size(); }

const std::vector<Track>& LibraryIndex::tracks() const { return tables_->library->tracks; }

const Library& LibraryIndex::library() const { return *tables_->library; }

const std::vector<std::string>& LibraryIndex::idsForTitle(std::string_view title) const {
  const Tables::Title* found = tables_->find(title);
  return found ? found->ids : noIds();
}

std::vector<std::string_view> LibraryIndex::longerTitles(std::string_view title) const {
  const std::size_t length = Characters(title).count();
  std::vector<std::string_view> out;
  for (const auto i : tables_->startingWith(title))
    if (tables_->titles[i].characters > length) out.emplace_back(tables_->titles[i].text);
  return out;
}

std::vector<std::string_view> LibraryIndex::titlesWithPrefix(std::string_view prefix) const {
  std::vector<std::string_view> out;
  if (Characters(prefix).count() < kBucketChars) return out;
  for (const auto i : tables_->startingWith(prefix)) out.emplace_back(tables_->titles[i].text);
  return out;
}

std::vector<LibraryIndex::NearTitle> LibraryIndex::nearTitles(std::string_view title, int limit) const {
  const Characters characters(title);
  std::vector<NearTitle> out;
  if (characters.count() < kNearMinimum || limit < 0) return out;
  const std::string_view head = characters.first(kBucketChars);
  // The distance is at least the difference in length: only the run of each
  // bucket within `limit` scalars of the query's length needs the table work.
  const std::size_t scalars = scalarCount(title);
  const std::size_t shortest =
      scalars > static_cast<std::size_t>(limit) ? scalars - static_cast<std::size_t>(limit) : 0;
  const std::size_t longest = scalars + static_cast<std::size_t>(limit);
  const auto search = [&](const std::vector<std::uint32_t>* bucket, bool skipSameHead) {
    if (!bucket) return;
    const auto first =
        std::lower_bound(bucket->begin(), bucket->end(), shortest,
                         [&](std::uint32_t i, std::size_t n) { return tables_->titles[i].scalars < n; });
    for (auto it = first; it != bucket->end() && tables_->titles[*it].scalars <= longest; ++it) {
      const Tables::Title& candidate = tables_->titles[*it];
      if (candidate.text == title) continue;
      // Titles with the query's head were seen in the head bucket already.
      if (skipSameHead && std::string_view(candidate.text).substr(0, candidate.headBytes) == head) continue;
      if (const auto distance = TextTools::editDistance(candidate.text, title, limit))
        out.push_back({candidate.text, *distance});
    }
  };
  search(tables_->bucket(tables_->titlesByHead, head), false);
  search(tables_->bucket(tables_->titlesByTail, characters.last(kBucketChars)), true);
  return out;
}

std::vector<LibraryIndex::NearTitle> LibraryIndex::nearBeginnings(std::string_view text, int limit) const {
  const Characters characters(text);
  const std::size_t length = characters.count();
  std::vector<NearTitle> out;
  if (length < kNearMinimum || limit < 0) return out;
  const auto* bucket = tables_->bucket(tables_->titlesByHead, characters.first(kBucketChars));
  if (!bucket) return out;
  const auto reach = static_cast<std::size_t>(limit);
  // The bucket runs from the shortest title up: the longer ones are at its end.
  const auto first =
      std::upper_bound(bucket->begin(), bucket->end(), scalarCount(text),
                       [&](std::size_t n, std::uint32_t i) { return n < tables_->titles[i].scalars; });
  for (auto it = first; it != bucket->end(); ++it) {
    const Tables::Title& candidate = tables_->titles[*it];
    if (candidate.characters <= length || candidate.text.starts_with(text)) continue;
    const Characters title(candidate.text);
    std::optional<int> best;
    for (std::size_t n = length > reach ? length - reach : 1; n <= length + reach && n < candidate.characters;
         ++n)
      if (const auto distance = TextTools::editDistance(title.first(n), text, limit))
        best = std::min(best.value_or(*distance), *distance);
    if (best) out.push_back({candidate.text, *best});
  }
  return out;
}

std::vector<std::string_view> LibraryIndex::titlesContained(std::string_view text) const {
  const Characters characters(text);
  const std::size_t length = characters.count();
  std::vector<std::string_view> out;
  if (length < kContainedMinimum) return out;
  // A contained title begins somewhere in the text with at least `shortest`
  // characters of it; look up each such beginning in the sorted titles.
  const std::size_t shortest = std::max(kContainedMinimum, (length + 1) / 2);
  std::vector<std::uint32_t> found;
  for (std::size_t at = 0; at + shortest <= length; ++at) {
    const std::string_view rest = text.substr(characters.offset(at));
    for (const auto i : tables_->startingWith(characters.slice(at, shortest))) {
      const Tables::Title& candidate = tables_->titles[i];
      if (candidate.characters >= kContainedMinimum && 2 * candidate.characters >= length &&
          candidate.text != text && rest.starts_with(candidate.text))
        found.push_back(i);
    }
  }
  std::sort(found.begin(), found.end());
  found.erase(std::unique(found.begin(), found.end()), found.end());
  out.reserve(found.size());
  for (const auto i : found) out.emplace_back(tables_->titles[i].text);
  return out;
}

const std::string* LibraryIndex::artist(std::string_view id) const {
  const auto it = tables_->tracksByID.find(id);
  if (it == tables_->tracksByID.end() || !it->second.artist) return nullptr;
  return &tables_->artists[*it->second.artist].normalized;
}

const std::set<std::string>& LibraryIndex::artistTokenSet(std::string_view id) const {
  const auto it = tables_->tracksByID.find(id);
  if (it == tables_->tracksByID.end() || !it->second.artist) return noTokens();
  return tables_->artists[*it->second.artist].tokens;
}

const std::vector<std::string>& LibraryIndex::allTitles() const { return tables_->allTitles; }

bool LibraryIndex::needsLanguageDetection() const { return tables_->needsLanguageDetection; }

}  // namespace kesta
