#include "store/library_file.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/json/json_coding.h"
#include "platform/json/json_splice.h"
#include "store/library_file_scanner.h"
#include "store/library_file_slices.h"

namespace kesta::LibraryFile {
namespace {

using namespace detail;

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

}  // namespace kesta::LibraryFile
