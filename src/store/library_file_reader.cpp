#include "store/library_file_reader.h"

#include <algorithm>
#include <cstddef>
#include <deque>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/json/json_coding.h"
#include "store/library_file_scanner.h"
#include "store/library_file_slices.h"

namespace kesta::LibraryFile {
namespace {

using namespace detail;

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
