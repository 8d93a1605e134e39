#include "store/library_file.h"

#include <algorithm>
#include <cstddef>
#include <future>
#include <optional>
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
};

// Walks the members of the object at the scanner: the value of `wanted` with
// `inside`, which leaves the scanner after it, every other value skipped.
// False unless `wanted` occurs exactly once.
template <class Inside>
bool walkObject(Scanner& scanner, std::string_view wanted, Inside inside) {
  if (!scanner.consume('{') || scanner.peek('}')) return false;
  bool found = false;
  do {
    const auto key = scanner.key();
    if (!key || !scanner.consume(':')) return false;
    if (*key != wanted) {
      if (!scanner.skipValue()) return false;
    } else if (found || !inside()) {
      return false;
    } else {
      found = true;
    }
  } while (scanner.consume(','));
  return scanner.consume('}') && found;
}

struct Layout {
  Span tracks;                   // the track list, brackets included
  std::vector<Span> trackSpans;  // each track object
};

// Where the track list and each track stand in a stored library's text, in
// one pass over it.
std::optional<Layout> layoutOf(std::string_view text) {
  Scanner scan(text);
  Layout layout;
  const auto trackList = [&] {
    scan.skipWhitespace();
    layout.tracks.begin = scan.position();
    if (!scan.consume('[')) return false;
    if (!scan.consume(']')) {
      do {
        scan.skipWhitespace();
        const std::size_t begin = scan.position();
        if (!scan.peek('{') || !scan.skipValue()) return false;
        layout.trackSpans.push_back(Span{begin, scan.position()});
      } while (scan.consume(','));
      if (!scan.consume(']')) return false;
    }
    layout.tracks.end = scan.position();
    return true;
  };
  const bool found = walkObject(scan, "library", [&] { return walkObject(scan, "tracks", trackList); });
  scan.skipWhitespace();
  if (!found || scan.position() != text.size()) return std::nullopt;
  return layout;
}

StoredLibrary decodeWhole(std::string_view text) { return StoredLibrary::fromJson(json::parse(text)); }

// Where the empty list `key` of the stored library stands in an outline
// written without tracks and playlists.
std::optional<Span> emptyListIn(std::string_view outline, std::string_view key) {
  Scanner scan(outline);
  Span span;
  const auto emptyList = [&] {
    scan.skipWhitespace();
    span.begin = scan.position();
    if (!scan.consume('[') || !scan.consume(']')) return false;
    span.end = scan.position();
    return true;
  };
  if (!walkObject(scan, "library", [&] { return walkObject(scan, key, emptyList); })) return std::nullopt;
  return span;
}

// The text of each playlist, written entry by entry so that no entry's text
// is held twice, and its size known before it is written.
class PlaylistWriter {
 public:
  // The size of the playlist's text; each distinct entry text is written once.
  std::uint64_t size(const Playlist& playlist) {
    std::string shell;
    json::appendObject(shell, members(playlist), {{"trackIDs", [](std::string& text) { text += "[]"; }}});
    std::uint64_t bytes = shell.size() + playlist.trackIDs.size();
    for (const SharedText& entry : playlist.trackIDs) {
      auto [known, added] = entryBytes_.try_emplace(&entry.str(), 0);
      if (added) known->second = json::write(json::Value(entry.str())).size();
      bytes += known->second;
    }
    return playlist.trackIDs.empty() ? bytes : bytes - 1;
  }

  // Appends the playlist's text to `out`, which holds room for it.
  static void append(std::string& out, const Playlist& playlist) {
    json::appendObject(out, members(playlist),
                       {{"trackIDs", [&](std::string& text) { appendEntries(text, playlist); }}});
  }

 private:
  static json::Value members(const Playlist& playlist) {
    return json::Value{{"id", playlist.id}, {"name", playlist.name}, {"folderPath", playlist.folderPath}};
  }
  static void appendEntries(std::string& out, const Playlist& playlist) {
    json::appendArray(out, playlist.trackIDs,
                      [](const SharedText& entry) -> const std::string& { return entry.str(); });
  }

  std::unordered_map<const std::string*, std::size_t> entryBytes_;
};

}  // namespace

std::uint64_t Text::size() const {
  std::uint64_t total = unwrittenBytes;
  for (const auto& piece : pieces) total += piece.size();
  return total;
}

std::vector<std::string_view> Text::views() const { return {pieces.begin(), pieces.end()}; }

std::string Text::joined() const {
  std::string text;
  text.reserve(static_cast<std::size_t>(size()));
  for (const auto& piece : pieces) text += piece;
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
    return Text{{json::write(StoredLibrary{library, xmlPath, xmlModifiedAt}.toJson())}};

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
  text.pieces.reserve(2 * parts.size() + library.playlists.size() + 3);
  text.pieces.push_back(outline.substr(0, playlistList->begin + 1));
  for (std::size_t i = 0; i < library.playlists.size(); ++i) {
    std::string& piece = text.pieces.emplace_back();
    piece.reserve(static_cast<std::size_t>(playlistBytes[i]) + 1);
    if (i > 0) piece += ',';
    PlaylistWriter::append(piece, library.playlists[i]);
  }
  text.pieces.push_back(outline.substr(playlistList->end - 1, trackList->begin + 2 - playlistList->end));
  bool first = true;
  for (auto& part : parts) {
    if (part.empty()) continue;
    if (!first) text.pieces.emplace_back(",");
    text.pieces.push_back(std::move(part));
    first = false;
  }
  text.pieces.push_back(outline.substr(trackList->end - 1));
  return text;
}

StoredLibrary decode(std::string_view text) {
  const auto layout = layoutOf(text);
  if (!layout || layout->trackSpans.size() < kTracksPerSlice) return decodeWhole(text);

  std::string outline;
  outline.reserve(text.size() - (layout->tracks.end - layout->tracks.begin) + 2);
  outline.append(text.substr(0, layout->tracks.begin));
  outline += "[]";
  outline.append(text.substr(layout->tracks.end));
  StoredLibrary stored = decodeWhole(outline);

  // Each slice decodes into its own part of the one track list, which is
  // never copied.
  const auto& spans = layout->trackSpans;
  auto& tracks = stored.library.tracks;
  tracks.resize(spans.size());
  const std::size_t slices = sliceCount(spans.size());
  inSlices(slices, [&](std::size_t slice) {
    const std::size_t first = spans.size() * slice / slices;
    const std::size_t last = spans.size() * (slice + 1) / slices;
    for (std::size_t i = first; i < last; ++i)
      tracks[i] = Track::fromJson(json::parse(text.substr(spans[i].begin, spans[i].end - spans[i].begin)));
    return true;
  });
  return stored;
}

}  // namespace kesta::LibraryFile
