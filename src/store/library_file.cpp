#include "store/library_file.h"

#include <algorithm>
#include <cstddef>
#include <deque>
#include <functional>
#include <future>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/json/json_coding.h"
#include "platform/json/json_splice.h"

namespace kesta::LibraryFile {
namespace {

// Below this many tracks one thread is quicker than several.
constexpr std::size_t kTracksPerSlice = 2000;
constexpr std::size_t kMaximumSlices = 8;

std::size_t sliceCount(std::size_t tracks) {
  const std::size_t threads = std::max<std::size_t>(1, std::thread::hardware_concurrency());
  return std::clamp<std::size_t>(tracks / kTracksPerSlice, 1, std::min(threads, kMaximumSlices));
}

// Runs work(i) for every slice, the first on the calling thread, and answers
// the results in slice order. An exception from any slice is rethrown; a
// thread that cannot be started leaves its slice to the calling thread.
template <class Work>
auto inSlices(std::size_t slices, Work work) {
  using Result = decltype(work(std::size_t{0}));
  std::vector<std::future<Result>> others;
  for (std::size_t i = 1; i < slices; ++i) {
    try {
      others.push_back(std::async(std::launch::async, work, i));
    } catch (const std::system_error&) {
      others.push_back(std::async(std::launch::deferred, work, i));
    }
  }
  std::vector<Result> results;
  results.push_back(work(0));
  for (auto& other : others) results.push_back(other.get());
  return results;
}

// The structure of a JSON text, walked without building values: enough to
// find the spans of the track list and of each track. Anything unusual (an
// escaped key, a repeated key, a malformed separator) makes it give up, and
// the whole text is then decoded in one piece, which judges it exactly.
class Scanner {
 public:
  explicit Scanner(std::string_view text) : text_(text) {}

  std::size_t position() const { return pos_; }
  void skipWhitespace() {
    while (pos_ < text_.size() &&
           (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\n' || text_[pos_] == '\r')) {
      ++pos_;
    }
  }
  bool consume(char c) {
    skipWhitespace();
    if (pos_ >= text_.size() || text_[pos_] != c) return false;
    ++pos_;
    return true;
  }
  bool peek(char c) {
    skipWhitespace();
    return pos_ < text_.size() && text_[pos_] == c;
  }
  // A key without escapes, or nothing.
  std::optional<std::string_view> key() {
    if (!consume('"')) return std::nullopt;
    const std::size_t start = pos_;
    while (pos_ < text_.size() && text_[pos_] != '"') {
      if (text_[pos_] == '\\') return std::nullopt;
      ++pos_;
    }
    if (pos_ >= text_.size()) return std::nullopt;
    return text_.substr(start, pos_++ - start);
  }
  // Moves past one value of any kind; false when it runs off the text.
  bool skipValue() {
    skipWhitespace();
    if (pos_ >= text_.size()) return false;
    const char first = text_[pos_];
    if (first == '"') return skipString();
    if (first == '{' || first == '[') {
      int depth = 0;
      while (pos_ < text_.size()) {
        const char c = text_[pos_];
        if (c == '"') {
          if (!skipString()) return false;
          continue;
        }
        ++pos_;
        if (c == '{' || c == '[') {
          ++depth;
        } else if ((c == '}' || c == ']') && --depth == 0) {
          return true;
        }
      }
      return false;
    }
    // A number or a literal runs up to the next separator.
    const std::size_t start = pos_;
    while (pos_ < text_.size() && std::string_view(",}] \t\n\r").find(text_[pos_]) == std::string_view::npos)
      ++pos_;
    return pos_ > start;
  }

 private:
  bool skipString() {
    ++pos_;
    while (pos_ < text_.size()) {
      const char c = text_[pos_++];
      if (c == '"') return true;
      if (c == '\\') ++pos_;  // the escaped character
    }
    return false;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

struct Span {
  std::size_t begin = 0;
  std::size_t end = 0;

  std::string_view of(std::string_view text) const { return text.substr(begin, end - begin); }
};

// Reads the value of one wanted key; false when it is not what is wanted.
struct Wanted {
  std::string_view key;
  std::function<bool()> read;
};

// Walks the members of the object at the scanner: the value of each wanted
// key with its reader, which leaves the scanner after it, every other value
// skipped. False unless every wanted key occurs exactly once.
bool walkObject(Scanner& scanner, const std::vector<Wanted>& wanted) {
  if (!scanner.consume('{') || scanner.peek('}')) return false;
  std::vector<bool> found(wanted.size(), false);
  do {
    const auto key = scanner.key();
    if (!key || !scanner.consume(':')) return false;
    const auto it = std::ranges::find(wanted, *key, &Wanted::key);
    if (it == wanted.end()) {
      if (!scanner.skipValue()) return false;
      continue;
    }
    const auto index = static_cast<std::size_t>(it - wanted.begin());
    if (found[index] || !it->read()) return false;
    found[index] = true;
  } while (scanner.consume(','));
  return scanner.consume('}') && std::ranges::all_of(found, [](bool seen) { return seen; });
}

// Reads the list at the scanner, brackets included, into `list`, and the span
// of each element into `elements`; `objects` asks every element to be one.
bool readList(Scanner& scan, Span& list, std::vector<Span>& elements, bool objects) {
  scan.skipWhitespace();
  list.begin = scan.position();
  if (!scan.consume('[')) return false;
  if (!scan.consume(']')) {
    do {
      scan.skipWhitespace();
      const std::size_t begin = scan.position();
      if ((objects && !scan.peek('{')) || !scan.skipValue()) return false;
      elements.push_back(Span{begin, scan.position()});
    } while (scan.consume(','));
    if (!scan.consume(']')) return false;
  }
  list.end = scan.position();
  return true;
}

// Whether nothing but white space follows the scanner.
bool atEnd(Scanner& scan, std::string_view text) {
  scan.skipWhitespace();
  return scan.position() == text.size();
}

struct Layout {
  Span tracks;                      // the track list, brackets included
  std::vector<Span> trackSpans;     // each track object
  Span playlists;                   // the playlist list, brackets included
  std::vector<Span> playlistSpans;  // each playlist object
};

// Where the two lists and each of their elements stand in a stored library's
// text, in one pass over it.
std::optional<Layout> layoutOf(std::string_view text) {
  Scanner scan(text);
  Layout layout;
  const auto lists = [&] {
    return walkObject(
        scan, {{"tracks", [&] { return readList(scan, layout.tracks, layout.trackSpans, true); }},
               {"playlists", [&] { return readList(scan, layout.playlists, layout.playlistSpans, true); }}});
  };
  if (!walkObject(scan, {{"library", lists}}) || !atEnd(scan, text)) return std::nullopt;
  return layout;
}

// Where the empty list `key` of the stored library stands in an outline
// written without tracks and playlists.
std::optional<Span> emptyListIn(std::string_view outline, std::string_view key) {
  Scanner scan(outline);
  Span span;
  std::vector<Span> none;
  const auto emptyList = [&] { return readList(scan, span, none, true) && none.empty(); };
  if (!walkObject(scan, {{"library", [&] { return walkObject(scan, {{key, emptyList}}); }}}))
    return std::nullopt;
  return span;
}

// The text with each span, in text order and none overlapping another,
// replaced by "[]".
std::string withEmptyLists(std::string_view text, std::initializer_list<Span> spans) {
  std::string out;
  std::size_t from = 0;
  for (const Span& span : spans) {
    out.append(text.substr(from, span.begin - from));
    out += "[]";
    from = span.end;
  }
  out.append(text.substr(from));
  return out;
}

// A long text of the file stands in it as a JSON text no stored library
// holds: a raw control character is never valid JSON.
constexpr char kLongTextMark = '\x01';

std::string standIn(std::size_t number) {
  return std::string("\"") + kLongTextMark + std::to_string(number) + "\"";
}

// The long texts of a file read by a Reader, put back where they stood.
class LongTexts {
 public:
  explicit LongTexts(const std::deque<std::string>& texts) : texts_(texts) {}

  // The number of the long text whose stand-in `value` is, if it is one.
  std::optional<std::size_t> numberOf(std::string_view value) const {
    if (value.size() < 4 || value[0] != '"' || value[1] != kLongTextMark || value.back() != '"')
      return std::nullopt;
    std::size_t number = 0;
    for (const char digit : value.substr(2, value.size() - 3)) {
      if (digit < '0' || digit > '9') return std::nullopt;
      number = number * 10 + static_cast<std::size_t>(digit - '0');
    }
    if (number >= texts_.size()) return std::nullopt;
    return number;
  }
  const std::string& text(std::size_t number) const { return texts_[number]; }

  // The JSON value of a part of the file, its long texts put back.
  json::Value parse(std::string_view part) const {
    std::size_t mark = part.find(kLongTextMark);
    if (mark == std::string_view::npos) return json::parse(part);
    std::string whole;
    std::size_t from = 0;
    for (; mark != std::string_view::npos; mark = part.find(kLongTextMark, mark + 1)) {
      const std::size_t end = part.find('"', mark);
      const auto number = mark > 0 && end != std::string_view::npos
                              ? numberOf(part.substr(mark - 1, end + 2 - mark))
                              : std::nullopt;
      if (!number) continue;
      whole.append(part.substr(from, mark - 1 - from));
      whole += texts_[*number];
      from = end + 1;
    }
    whole.append(part.substr(from));
    return json::parse(whole);
  }

 private:
  const std::deque<std::string>& texts_;
};

// Playlist entries read one by one, every entry of one text sharing it with
// the earlier ones, as the importer shares them.
class EntryReader {
 public:
  explicit EntryReader(const LongTexts& longTexts) : longTexts_(longTexts) {}

  // The entry whose JSON text is `value`; a value that is not a text throws
  // what the whole decoding throws for it. A long text is judged once.
  SharedText entry(std::string_view value) {
    const auto number = longTexts_.numberOf(value);
    if (!number) return entryOf(value);
    auto [known, added] = longEntries_.try_emplace(*number);
    if (added) known->second = entryOf(longTexts_.text(*number));
    return known->second;
  }

  // A playlist decoded from its JSON text. One that the scanner cannot follow
  // is decoded whole, as the whole decoding does, and then shared.
  Playlist playlist(std::string_view text) {
    Scanner scan(text);
    Span list;
    std::vector<Span> elements;
    const bool scanned =
        walkObject(scan, {{"trackIDs", [&] { return readList(scan, list, elements, false); }}}) &&
        atEnd(scan, text);
    if (!scanned) {
      Playlist whole = Playlist::fromJson(longTexts_.parse(text));
      for (SharedText& entry : whole.trackIDs) entry = shared(entry.str());
      return whole;
    }
    const json::Value shell = longTexts_.parse(withEmptyLists(text, {list}));
    std::vector<SharedText> entries;
    entries.reserve(elements.size());
    for (const Span& element : elements) entries.push_back(entry(element.of(text)));
    return Playlist{json::stringField(shell, "id"), json::stringField(shell, "name"),
                    json::asStringList(json::require(shell, "folderPath")), std::move(entries)};
  }

 private:
  SharedText entryOf(std::string_view value) {
    if (isPlain(value)) return shared(value.substr(1, value.size() - 2));
    const json::Value parsed = json::parse(value);
    return shared(json::asString(parsed));
  }

  // A quoted printable ASCII text without escapes reads as what it quotes.
  static bool isPlain(std::string_view value) {
    if (value.size() < 2 || value.front() != '"' || value.back() != '"') return false;
    return std::ranges::all_of(value.substr(1, value.size() - 2),
                               [](char c) { return c >= 0x20 && c < 0x7f && c != '"' && c != '\\'; });
  }

  SharedText shared(std::string_view text) {
    auto found = seen_.find(text);
    if (found == seen_.end()) {
      SharedText made{std::string(text)};
      found = seen_.emplace(made.str(), made).first;
    }
    return found->second;
  }

  const LongTexts& longTexts_;
  std::unordered_map<std::string_view, SharedText> seen_;
  std::unordered_map<std::size_t, SharedText> longEntries_;  // by long text's number
};

using Piece = std::shared_ptr<const std::string>;

Piece piece(std::string text) { return std::make_shared<const std::string>(std::move(text)); }

// Playlist entries whose text is at least this long are pieces of their own;
// shorter ones are copied into their playlist's text.
constexpr std::size_t kSharedEntryBytes = 256;

// The text of each playlist, written entry by entry so that no entry's text
// is held twice, and its size known before it is written.
class PlaylistWriter {
 public:
  // The size of the playlist's text; each distinct entry text is written once.
  std::uint64_t size(const Playlist& playlist) {
    std::uint64_t bytes = shell(playlist).size() + 2 + playlist.trackIDs.size();
    for (const SharedText& entry : playlist.trackIDs) bytes += bytesOf(entry);
    return playlist.trackIDs.empty() ? bytes : bytes - 1;
  }

  // Appends the pieces of the playlist's text, after a comma when `comma`.
  void append(Text& text, const Playlist& playlist, bool comma, std::uint64_t bytes) {
    for (const SharedText& entry : playlist.trackIDs) {
      if (const std::size_t entryBytes = bytesOf(entry); entryBytes >= kSharedEntryBytes) bytes -= entryBytes;
    }
    // Every piece but the last is a copy of its exact size: this one's room
    // then serves them all.
    std::string current;
    current.reserve(static_cast<std::size_t>(bytes) + 1);
    if (comma) current += ',';
    current += shell(playlist);
    bool first = true;
    for (const SharedText& entry : playlist.trackIDs) {
      if (bytesOf(entry) < kSharedEntryBytes) {
        if (!first) current += ',';
        current += json::write(json::Value(entry.str()));
      } else {
        if (!current.empty()) text.pieces.push_back(piece(std::string(current)));
        current.clear();
        text.pieces.push_back(sharedPiece(entry, !first));
      }
      first = false;
    }
    current += "]}";
    text.pieces.push_back(piece(std::move(current)));
  }

 private:
  // The playlist's text up to its entries: "trackIDs" sorts after every
  // other key, so the object ends with that list.
  static std::string shell(const Playlist& playlist) {
    std::string text;
    json::appendObject(
        text, json::Value{{"id", playlist.id}, {"name", playlist.name}, {"folderPath", playlist.folderPath}},
        {{"trackIDs", [](std::string& out) { out += "[]"; }}});
    text.resize(text.size() - 2);  // the "]}" the entries come before
    return text;
  }

  std::size_t bytesOf(const SharedText& entry) {
    auto [known, added] = entryBytes_.try_emplace(&entry.str(), 0);
    if (added) known->second = json::write(json::Value(entry.str())).size();
    return known->second;
  }

  const Piece& sharedPiece(const SharedText& entry, bool comma) {
    auto& [alone, afterComma] = longEntries_[&entry.str()];
    Piece& made = comma ? afterComma : alone;
    if (!made) {
      std::string text(comma ? "," : "");
      text += json::write(json::Value(entry.str()));
      made = piece(std::move(text));
    }
    return made;
  }

  std::unordered_map<const std::string*, std::size_t> entryBytes_;
  // The texts of long entries, alone and after a comma.
  std::unordered_map<const std::string*, std::pair<Piece, Piece>> longEntries_;
};

}  // namespace

std::uint64_t Text::size() const {
  std::uint64_t total = unwrittenBytes;
  for (const auto& piece : pieces) total += piece->size();
  return total;
}

std::vector<std::string_view> Text::views() const {
  std::vector<std::string_view> out;
  out.reserve(pieces.size());
  for (const auto& piece : pieces) out.emplace_back(*piece);
  return out;
}

std::string Text::joined() const {
  std::string text;
  text.reserve(static_cast<std::size_t>(size()));
  for (const auto& piece : pieces) text += *piece;
  return text;
}

std::string encode(const StoredLibrary& stored) {
  return encode(stored.library, stored.xmlPath, stored.xmlModifiedAt);
}

std::string encode(const Library& library, const std::string& xmlPath,
                   const std::optional<Date>& xmlModifiedAt) {
  return encodeText(library, xmlPath, xmlModifiedAt).joined();
}

Text encodeText(const Library& library, const std::string& xmlPath, const std::optional<Date>& xmlModifiedAt,
                std::uint64_t maximumBytes) {
  const auto& tracks = library.tracks;
  const std::size_t slices = sliceCount(tracks.size());
  // Each track is written on its own, so that its small tree is freed at once.
  auto parts = inSlices(slices, [&](std::size_t slice) {
    const std::size_t begin = tracks.size() * slice / slices;
    const std::size_t end = tracks.size() * (slice + 1) / slices;
    std::string text;
    for (std::size_t i = begin; i < end; ++i) {
      if (i > begin) text += ',';
      text += json::write(tracks[i].toJson());
    }
    return text;
  });

  const StoredLibrary shell{Library{{}, {}, library.report, library.sourceFileName, library.importedAt},
                            xmlPath, xmlModifiedAt};
  const std::string outline = json::write(shell.toJson());
  const auto playlistList = emptyListIn(outline, "playlists");
  const auto trackList = emptyListIn(outline, "tracks");
  if (!playlistList || !trackList || playlistList->end > trackList->begin)
    return Text{{piece(json::write(StoredLibrary{library, xmlPath, xmlModifiedAt}.toJson()))}};

  // What the text will take: the outline, the tracks with their commas and
  // the playlists with theirs. Nothing more is written when that is too much.
  std::uint64_t size = outline.size();
  std::size_t written = 0;
  for (const std::string& part : parts) {
    if (!part.empty()) size += part.size() + (written++ > 0 ? 1 : 0);
  }
  PlaylistWriter playlists;
  std::vector<std::uint64_t> playlistBytes;
  for (const Playlist& playlist : library.playlists) {
    playlistBytes.push_back(playlists.size(playlist));
    size += playlistBytes.back() + (playlistBytes.size() > 1 ? 1 : 0);
  }
  if (size > maximumBytes) return Text{{}, size};

  Text text;
  text.pieces.push_back(piece(outline.substr(0, playlistList->begin + 1)));
  for (std::size_t i = 0; i < library.playlists.size(); ++i)
    playlists.append(text, library.playlists[i], i > 0, playlistBytes[i]);
  text.pieces.push_back(
      piece(outline.substr(playlistList->end - 1, trackList->begin + 2 - playlistList->end)));
  bool first = true;
  for (auto& part : parts) {
    if (part.empty()) continue;
    if (!first) text.pieces.push_back(piece(","));
    text.pieces.push_back(piece(std::move(part)));
    first = false;
  }
  text.pieces.push_back(piece(outline.substr(trackList->end - 1)));
  return text;
}

namespace {

// The stored library in a Reader's file.
StoredLibrary decodeWith(std::string_view text, const LongTexts& longTexts) {
  const auto layout = layoutOf(text);
  if (!layout) return StoredLibrary::fromJson(longTexts.parse(text));
  // The rest is read first, so that a text that is not JSON there is
  // refused before any track is decoded.
  const json::Value outline =
      layout->tracks.begin < layout->playlists.begin
          ? longTexts.parse(withEmptyLists(text, {layout->tracks, layout->playlists}))
          : longTexts.parse(withEmptyLists(text, {layout->playlists, layout->tracks}));

  // Each slice decodes into its own part of the one track list, which is
  // never copied.
  const auto& spans = layout->trackSpans;
  std::vector<Track> tracks(spans.size());
  const std::size_t slices = sliceCount(spans.size());
  inSlices(slices, [&](std::size_t slice) {
    const std::size_t first = spans.size() * slice / slices;
    const std::size_t last = spans.size() * (slice + 1) / slices;
    for (std::size_t i = first; i < last; ++i)
      tracks[i] = Track::fromJson(longTexts.parse(spans[i].of(text)));
    return true;
  });
  EntryReader entries(longTexts);
  std::vector<Playlist> playlists;
  playlists.reserve(layout->playlistSpans.size());
  for (const Span& span : layout->playlistSpans) playlists.push_back(entries.playlist(span.of(text)));

  StoredLibrary stored = StoredLibrary::fromJson(outline);
  stored.library.tracks = std::move(tracks);
  stored.library.playlists = std::move(playlists);
  return stored;
}

// Whether the character at `at` of a text is escaped: after an odd number of
// backslashes, which the text's opening quote bounds.
bool escapedAt(std::string_view text, std::size_t at) {
  std::size_t backslashes = 0;
  while (text[at - 1 - backslashes] == '\\') ++backslashes;
  return backslashes % 2 == 1;
}

}  // namespace

void Reader::add(std::string_view block) {
  if (block.find(kLongTextMark) != std::string_view::npos) controlByte_ = true;
  std::size_t at = 0;
  if (inText_) at = continueText(block, 0);
  // Texts that end in this block are kept where they stand unless long.
  std::size_t kept = at;
  while (at < block.size()) {
    const std::size_t quote = block.find('"', at);
    if (quote == std::string_view::npos) break;
    std::size_t end = quote;
    do {
      end = block.find('"', end + 1);
    } while (end != std::string_view::npos && escapedAt(block, end));
    if (end == std::string_view::npos) {
      append(block.substr(kept, quote - kept));
      inText_ = true;
      text_ = "\"";
      kept = at = continueText(block, quote + 1);
      continue;
    }
    at = end + 1;
    if (at - quote >= longTextBytes) {
      append(block.substr(kept, quote - kept));
      text_.assign(block.substr(quote, at - quote));
      endText();
      kept = at;
    }
  }
  if (!inText_) append(block.substr(kept));
}

std::size_t Reader::continueText(std::string_view block, std::size_t at) {
  while (at < block.size()) {
    if (escaped_) {
      text_ += block[at++];
      escaped_ = false;
      continue;
    }
    const std::size_t stop = block.find_first_of("\"\\", at);
    text_.append(block.substr(at, stop == std::string_view::npos ? std::string_view::npos : stop + 1 - at));
    if (stop == std::string_view::npos) return block.size();
    at = stop + 1;
    if (block[stop] == '\\') {
      escaped_ = true;
    } else {
      endText();
      return at;
    }
  }
  return at;
}

void Reader::append(std::string_view piece) {
  // Blocks of about this size, so that joining them needs little more room
  // than the joined text.
  constexpr std::size_t kChunkBytes = std::size_t{1} << 20;
  if (chunks_.empty() || chunks_.back().size() >= kChunkBytes) chunks_.emplace_back().reserve(kChunkBytes);
  chunks_.back().append(piece);
}

void Reader::endText() {
  inText_ = false;
  escaped_ = false;
  if (text_.size() < longTextBytes) {
    append(text_);
    return;
  }
  auto found = numbers_.find(text_);
  if (found == numbers_.end()) {
    longTexts_.push_back(std::move(text_));
    found = numbers_.emplace(longTexts_.back(), longTexts_.size() - 1).first;
  }
  append(standIn(found->second));
  text_.clear();
}

std::size_t Reader::heldBytes() const {
  std::size_t held = text_.size();
  for (const std::string& chunk : chunks_) held += chunk.size();
  for (const std::string& text : longTexts_) held += text.size();
  return held;
}

StoredLibrary Reader::decode() && {
  if (inText_) append(text_);  // the file ends inside a text
  if (controlByte_)
    throw json::DecodingError(
        "The given data was not valid JSON. It holds a control character outside an escape.");
  std::size_t size = 0;
  for (const std::string& chunk : chunks_) size += chunk.size();
  std::string text;
  text.reserve(size);
  for (std::string& chunk : chunks_) {
    text += chunk;
    std::string().swap(chunk);
  }
  return decodeWith(text, LongTexts(longTexts_));
}

StoredLibrary decode(std::string_view text) {
  Reader reader;
  reader.add(text);
  return std::move(reader).decode();
}

}  // namespace kesta::LibraryFile
