#include "library/rekordbox_xml_importer.h"

#include <expat.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <exception>
#include <map>
#include <memory>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "library/energy_tag.h"
#include "library/text_tools.h"
#include "platform/crypto/sha256.h"
#include "platform/files/outside_file.h"
#include "platform/text/numbers.h"
#include "platform/text/regex.h"
#include "platform/text/unicode_text.h"

namespace kesta {

namespace {

// The attributes of a collection TRACK that the build reads. Names are
// compared exactly and case-sensitively.
enum class Attribute {
  trackID,
  name,
  artist,
  location,
  totalTime,
  averageBpm,
  tonality,
  comments,
  grouping,
  rating,
  remixer,
  genre,
  playCount,
  count
};

constexpr std::array<std::string_view, static_cast<std::size_t>(Attribute::count)> kAttributeNames = {
    "TrackID",  "Name",     "Artist", "Location", "TotalTime", "AverageBpm", "Tonality",
    "Comments", "Grouping", "Rating", "Remixer",  "Genre",     "PlayCount"};

// One collection entry as read.
struct RawTrack {
  std::array<std::optional<std::string>, kAttributeNames.size()> attributes;
  bool hasAttributes = false;
  int hotCues = 0;
  int memoryCues = 0;
  std::optional<double> firstGridBPM;

  std::optional<std::string>& operator[](Attribute attribute) {
    return attributes[static_cast<std::size_t>(attribute)];
  }
};

// One open NODE of the playlist tree. Its folder path is not stored: it is
// the names of the nodes open around it, copied only for a playlist, when it
// closes.
struct OpenNode {
  std::string name;
  bool isPlaylist = false;
  std::string keyType;
  std::vector<std::string> refs;
  int ordinal = 0;
};

struct FinishedPlaylist {
  std::string name;
  std::vector<std::string> path;
  int ordinal = 0;
  std::string keyType;
  std::vector<std::string> refs;
};

// One text that is kept: no field of a real export comes near it, and a file
// holding a longer one is refused rather than carried through the library.
constexpr std::size_t kMaximumTextBytes = 64 * 1024;

const char* bounded(const char* text) {
  if (text != nullptr && std::char_traits<char>::length(text) > kMaximumTextBytes)
    throw LibraryImportError::unreadable("a text is longer than 65536 bytes");
  return text;
}

// expat hands attributes as a null-terminated list of name, value pairs.
const char* attribute(const char** attributes, std::string_view name) {
  for (const char** pair = attributes; *pair != nullptr; pair += 2) {
    if (name == pair[0]) return bounded(pair[1]);
  }
  return nullptr;
}

std::string attributeOr(const char** attributes, std::string_view name, std::string_view fallback) {
  const char* value = attribute(attributes, name);
  return std::string(value != nullptr ? std::string_view(value) : fallback);
}

// Trimming without decoding when the ends are plain ASCII, which no
// whitespace class trims; the text is moved through unchanged then.
std::string trimmed(std::optional<std::string>& text, bool (*isTrimmed)(char32_t)) {
  if (!text) return {};
  const auto plain = [](char c) { return c > ' ' && c < 0x7f; };
  if (text->empty() || (plain(text->front()) && plain(text->back()))) return std::move(*text);
  return unicode::trimmed(*text, isTrimmed);
}

std::string trimmedSpaces(std::optional<std::string>& text) { return trimmed(text, unicode::isWhitespace); }

std::string trimmedWhiteSpace(std::optional<std::string>& text) {
  return trimmed(text, unicode::isWhitespaceOrNewline);
}

std::optional<std::string_view> view(const std::optional<std::string>& text) {
  if (!text) return std::nullopt;
  return std::string_view(*text);
}

// --- Building the library -------------------------------------------------

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool isValidUtf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    std::size_t length = 0;
    char32_t scalar = 0;
    if (byte < 0x80) {
      ++i;
      continue;
    } else if ((byte & 0xE0) == 0xC0) {
      length = 2;
      scalar = byte & 0x1F;
    } else if ((byte & 0xF0) == 0xE0) {
      length = 3;
      scalar = byte & 0x0F;
    } else if ((byte & 0xF8) == 0xF0) {
      length = 4;
      scalar = byte & 0x07;
    } else {
      return false;
    }
    if (i + length > bytes.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      scalar = (scalar << 6) | (next & 0x3F);
    }
    constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (scalar < kShortest[length] || scalar > 0x10FFFF || (scalar >= 0xD800 && scalar <= 0xDFFF))
      return false;
    i += length;
  }
  return true;
}

// Percent-escapes decoded as UTF-8; absent for a malformed escape or bytes
// that are no UTF-8. Nothing else is interpreted: "#" and "?" are path
// characters here, not a fragment or a query.
std::optional<std::string> percentDecoded(std::string_view text) {
  if (text.find('%') == std::string_view::npos) return std::string(text);
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    if (i + 2 >= text.size()) return std::nullopt;
    const int high = hexValue(text[i + 1]);
    const int low = hexValue(text[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    out += static_cast<char>(high * 16 + low);
    i += 2;
  }
  if (!isValidUtf8(out)) return std::nullopt;
  return out;
}

bool startsWithIgnoringAsciiCase(std::string_view text, std::string_view lowerPrefix) {
  if (text.size() < lowerPrefix.size()) return false;
  for (std::size_t i = 0; i < lowerPrefix.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != lowerPrefix[i]) return false;
  }
  return true;
}

std::string asciiLowercased(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

struct Classified {
  Source source;
  std::optional<StableKey> key;
  bool recognised = false;
};

// Where a collection "Location" points: a local file, a streaming entry, or
// something unrecognised (which still names its scheme as its source).
Classified classify(const std::string& location) {
  static const Regex spotifyLink(R"(open\.spotify\.com/track/[A-Za-z0-9]+)");
  static const Regex streamingEntry(R"(^[A-Za-z][A-Za-z0-9\-]*:tracks?:[^/?#\s]+$)");
  static const Regex schemeWord(R"(^[a-z][a-z0-9\-]*$)");

  const std::string decoded = percentDecoded(location).value_or(location);
  if (decoded.empty()) return {Source{"unknown"}, std::nullopt, false};

  std::string_view rest = decoded;
  if (startsWithIgnoringAsciiCase(rest, "file://localhost")) {
    rest.remove_prefix(16);
  } else if (startsWithIgnoringAsciiCase(rest, "file://")) {
    rest.remove_prefix(7);
  }
  if (rest.starts_with('/')) return {Source::local(), StableKey::forLocation(decoded), true};

  if (rest.find("open.spotify.com/track/") != std::string_view::npos) {
    if (const auto link = spotifyLink.firstMatch(rest)) {
      const std::string& matched = *link->groups[0];
      return {Source{"spotify"}, StableKey{"spotify:" + matched.substr(matched.rfind('/') + 1)}, true};
    }
  }
  const std::size_t colon = rest.find(':');
  if (colon == std::string_view::npos) return {Source{"unknown"}, std::nullopt, false};

  if (const auto entry = streamingEntry.firstMatch(rest)) {
    const std::string& matched = *entry->groups[0];
    const std::size_t first = matched.find(':');
    const std::size_t second = matched.find(':', first + 1);
    const std::string scheme = asciiLowercased(std::string_view(matched).substr(0, first));
    return {Source{scheme}, StableKey{scheme + ":" + matched.substr(second + 1)}, true};
  }
  const std::string scheme = asciiLowercased(rest.substr(0, colon));
  if (schemeWord.search(scheme)) return {Source{scheme}, std::nullopt, false};
  return {Source{"unknown"}, std::nullopt, false};
}

bool isWheelNumber(std::string_view digits) {
  if (digits.size() == 1) return digits[0] >= '1' && digits[0] <= '9';
  return digits.size() == 2 && digits[0] == '1' && digits[1] >= '0' && digits[1] <= '2';
}

// Without one final line terminator, which an end-of-text anchor lets through.
std::string_view withoutFinalLineBreak(std::string_view text) {
  for (const std::string_view lineBreak : {"\r\n", "\n", "\v", "\f", "\r", "\u0085", "\u2028", "\u2029"}) {
    if (text.ends_with(lineBreak)) return text.substr(0, text.size() - lineBreak.size());
  }
  return text;
}

// The notation a parsed key text was written in ("12B", "5m" or a name).
std::string notation(std::string_view keyText) {
  keyText = withoutFinalLineBreak(keyText);
  if (!keyText.empty() && isWheelNumber(keyText.substr(0, keyText.size() - 1))) {
    const char last = keyText.back();
    if (last == 'A' || last == 'B' || last == 'a' || last == 'b') return "Camelot";
    if (last == 'm' || last == 'd' || last == 'M' || last == 'D') return "Open Key";
  }
  return "Musical";
}

// A rekordbox rating (0, 51, ... 255) as stars 0...5.
int stars(const std::optional<std::string>& rating) {
  const auto value = TextTools::integer(view(rating));
  const double stars = std::round(value.value_or(0) / 51.0);
  return static_cast<int>(std::clamp(stars, 0.0, 5.0));
}

std::string playlistId(const FinishedPlaylist& playlist) {
  std::string text;
  for (const std::string& folder : playlist.path) text += folder + '\x1f';
  text += playlist.name + '\x1f' + "#" + std::to_string(playlist.ordinal);
  return crypto::sha256Hex(text, 16);
}

// The build step, one collection entry at a time as the parser closes it,
// then the playlists once the document has been read.
class LibraryBuilder {
 public:
  void addEntry(RawTrack&& entry);
  // Throws LibraryImportError::noTracks when no entry was usable.
  Library finish(const std::vector<FinishedPlaylist>& finishedPlaylists, int folderCount,
                 const std::string& fileName, Date now) &&;

 private:
  // The id of the track at `index` as a playlist lists it: one text for all
  // of that track's entries, however many and however long the id.
  const SharedText& entryFor(std::size_t index);

  ImportReport report_;
  std::vector<Track> tracks_;
  std::unordered_map<std::string, std::size_t> acceptedIds_;  // TrackID → its track
  std::unordered_map<std::string, std::size_t> locations_;  // "Location" as written → the last track with it
  std::vector<SharedText> entries_;                         // by track, made when first listed
  // Keyed by the composed form, so that two spellings of one text count once
  // and sort by code point.
  std::map<std::string, std::string> unrecognisedKeys_;
};

void LibraryBuilder::addEntry(RawTrack&& entry) {
  if (!entry.hasAttributes) return;
  std::string id = trimmedSpaces(entry[Attribute::trackID]);
  if (id.empty()) return;
  if (acceptedIds_.contains(id)) {
    ++report_.duplicateTrackIDs;
    return;
  }
  acceptedIds_.emplace(id, tracks_.size());

  std::string title = trimmedWhiteSpace(entry[Attribute::name]);
  std::string artist = trimmedWhiteSpace(entry[Attribute::artist]);
  std::string location = entry[Attribute::location].value_or("");
  Classified classified = classify(location);
  if (!classified.recognised) ++report_.unrecognisedLocations;
  if (!location.empty()) locations_.insert_or_assign(std::move(location), tracks_.size());

  const int durationSeconds = std::max(TextTools::integer(view(entry[Attribute::totalTime])).value_or(0), 0);

  std::optional<double> bpm;
  if (const auto average = TextTools::number(view(entry[Attribute::averageBpm])); average && *average > 0) {
    bpm = average;
  } else if (entry.firstGridBPM && *entry.firstGridBPM > 0) {
    bpm = entry.firstGridBPM;
    ++report_.bpmFromBeatGrid;
  }

  std::optional<std::string> keyText;
  std::optional<MusicalKey> musicalKey;
  if (std::string key = trimmedSpaces(entry[Attribute::tonality]); !key.empty()) {
    musicalKey = MusicalKey::parsing(key);
    if (musicalKey) {
      ++report_.keyNotations[notation(key)];
    } else {
      unrecognisedKeys_.try_emplace(unicode::fold(key, {}), key);
    }
    keyText = std::move(key);
  }

  const std::optional<int> energy = EnergyTag::parse(
      {view(entry[Attribute::comments]).value_or(""), view(entry[Attribute::grouping]).value_or("")});
  StableKey key =
      classified.key ? std::move(*classified.key) : StableKey::forMetadata(title, artist, durationSeconds);
  const int playCount = std::max(TextTools::integer(view(entry[Attribute::playCount])).value_or(0), 0);

  ++report_.sources[classified.source.slug];
  const Track& track = tracks_.emplace_back(
      Track{std::move(id), std::move(key), std::move(classified.source), std::move(title), std::move(artist),
            trimmedSpaces(entry[Attribute::remixer]), trimmedSpaces(entry[Attribute::genre]), bpm,
            std::move(keyText), musicalKey, energy, durationSeconds, playCount,
            stars(entry[Attribute::rating]), entry.hotCues, entry.memoryCues});

  if (!track.hasTitle()) ++report_.missingTitle;
  if (!track.hasBPM()) ++report_.missingBPM;
  if (!track.hasKey()) ++report_.missingKey;
  if (track.energy) ++report_.energyTagged;
  if (track.isRecommendable()) ++report_.recommendable;
}

const SharedText& LibraryBuilder::entryFor(std::size_t index) {
  SharedText& entry = entries_[index];
  if (entry.str().empty()) entry = SharedText(tracks_[index].id);
  return entry;
}

Library LibraryBuilder::finish(const std::vector<FinishedPlaylist>& finishedPlaylists, int folderCount,
                               const std::string& fileName, Date now) && {
  if (tracks_.empty()) throw LibraryImportError::noTracks();

  for (auto& [composed, text] : unrecognisedKeys_) report_.unrecognisedKeyValues.push_back(std::move(text));

  std::unordered_map<std::string, int> songs;
  for (const Track& track : tracks_) {
    if (track.hasTitle()) ++songs[track.songKey()];
  }
  report_.duplicateSongs = static_cast<int>(
      std::count_if(songs.begin(), songs.end(), [](const auto& song) { return song.second >= 2; }));

  std::vector<Playlist> playlists;
  playlists.reserve(finishedPlaylists.size());
  std::unordered_map<std::string, int> playlistNames;
  entries_.resize(tracks_.size());
  for (const FinishedPlaylist& finished : finishedPlaylists) {
    std::vector<SharedText> trackIDs;
    const auto& byRef = finished.keyType == "1" ? locations_ : acceptedIds_;
    for (const std::string& ref : finished.refs) {
      if (const auto found = byRef.find(ref); found != byRef.end()) {
        trackIDs.push_back(entryFor(found->second));
      } else {
        ++report_.unresolvedPlaylistEntries;
      }
    }
    if (trackIDs.empty()) ++report_.emptyPlaylists;
    ++playlistNames[finished.name];
    playlists.push_back(Playlist{playlistId(finished), finished.name, finished.path, std::move(trackIDs)});
  }
  report_.repeatedPlaylistNames = static_cast<int>(std::count_if(
      playlistNames.begin(), playlistNames.end(), [](const auto& name) { return name.second >= 2; }));

  report_.totalEntries = static_cast<int>(tracks_.size());
  report_.folders = folderCount;
  report_.playlists = static_cast<int>(playlists.size());
  return Library{std::move(tracks_), std::move(playlists), std::move(report_), fileName, now};
}

// The parser's state while it reads one document: the collection entry being
// read (handed to the builder when it closes) and the playlist tree.
class CollectionReader {
 public:
  void startElement(std::string_view element, const char** attributes);
  void endElement(std::string_view element);

  bool sawRoot() const { return sawRoot_; }
  // Throws LibraryImportError::noTracks when no entry was usable.
  Library build(const std::string& fileName, Date now) && {
    return std::move(builder_).finish(finishedPlaylists_, folderCount_, fileName, now);
  }

 private:
  void openNode(const char** attributes);
  // The names of the open nodes, outermost first, as the path of a node
  // directly inside the innermost one.
  std::vector<std::string> openPath() const;

  bool sawRoot_ = false;
  bool inCollection_ = false;
  bool inPlaylists_ = false;
  LibraryBuilder builder_;
  std::optional<RawTrack> current_;
  std::vector<OpenNode> nodeStack_;
  std::vector<std::unordered_map<std::string, int>> siblingNames_{1};
  std::vector<FinishedPlaylist> finishedPlaylists_;
  int folderCount_ = 0;
};

void CollectionReader::startElement(std::string_view element, const char** attributes) {
  if (element == "DJ_PLAYLISTS") {
    sawRoot_ = true;
  } else if (element == "COLLECTION") {
    inCollection_ = true;
  } else if (element == "PLAYLISTS") {
    inPlaylists_ = true;
  } else if (element == "TRACK" && inCollection_ && !current_) {
    RawTrack& track = current_.emplace();
    for (const char** pair = attributes; *pair != nullptr; pair += 2) {
      track.hasAttributes = true;
      const auto found = std::find(kAttributeNames.begin(), kAttributeNames.end(), std::string_view(pair[0]));
      if (found != kAttributeNames.end())
        track.attributes[static_cast<std::size_t>(found - kAttributeNames.begin())] = bounded(pair[1]);
    }
  } else if (element == "POSITION_MARK" && current_) {
    // A numbered mark is a hot cue; -1 (or anything unreadable) a memory cue.
    const auto num = numbers::parseInteger(attributeOr(attributes, "Num", "-1"));
    if (num && *num >= 0) {
      ++current_->hotCues;
    } else {
      ++current_->memoryCues;
    }
  } else if (element == "TEMPO" && current_) {
    if (!current_->firstGridBPM) {
      const char* bpm = attribute(attributes, "Bpm");
      current_->firstGridBPM = bpm != nullptr ? TextTools::number(bpm) : std::nullopt;
    }
  } else if (element == "NODE" && inPlaylists_) {
    openNode(attributes);
  } else if (element == "TRACK" && inPlaylists_) {
    const char* key = attribute(attributes, "Key");
    if (key != nullptr && !nodeStack_.empty() && nodeStack_.back().isPlaylist)
      nodeStack_.back().refs.emplace_back(key);
  }
}

void CollectionReader::openNode(const char** attributes) {
  if (nodeStack_.size() >= RekordboxXMLImporter::maximumNodeDepth)
    throw LibraryImportError::unreadable("playlist folders nested more than " +
                                         std::to_string(RekordboxXMLImporter::maximumNodeDepth) + " deep");
  OpenNode node;
  node.name = attributeOr(attributes, "Name", "Untitled");
  int& seen = siblingNames_.back()[node.name];
  node.ordinal = seen++;
  siblingNames_.emplace_back();
  const char* type = attribute(attributes, "Type");
  node.isPlaylist = type != nullptr && std::string_view(type) == "1";
  if (!node.isPlaylist && !nodeStack_.empty()) ++folderCount_;
  node.keyType = attributeOr(attributes, "KeyType", "0");
  nodeStack_.push_back(std::move(node));
}

std::vector<std::string> CollectionReader::openPath() const {
  // rekordbox's top node "ROOT" is never part of a path; a top node of any
  // other name is.
  const bool skipRoot = !nodeStack_.empty() && nodeStack_.front().name == "ROOT";
  std::vector<std::string> path;
  path.reserve(nodeStack_.size());
  for (std::size_t i = skipRoot ? 1 : 0; i < nodeStack_.size(); ++i) path.push_back(nodeStack_[i].name);
  return path;
}

void CollectionReader::endElement(std::string_view element) {
  if (element == "COLLECTION") {
    inCollection_ = false;
  } else if (element == "PLAYLISTS") {
    inPlaylists_ = false;
  } else if (element == "TRACK" && inCollection_) {
    if (current_) builder_.addEntry(std::move(*current_));
    current_.reset();
  } else if (element == "NODE" && inPlaylists_ && !nodeStack_.empty()) {
    OpenNode node = std::move(nodeStack_.back());
    nodeStack_.pop_back();
    siblingNames_.pop_back();
    if (node.isPlaylist) {
      finishedPlaylists_.push_back(
          {std::move(node.name), openPath(), node.ordinal, std::move(node.keyType), std::move(node.refs)});
    }
  }
}

// --- Parsing -----------------------------------------------------------------

struct ParserDeleter {
  void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};

// Carries the reader through expat's C callbacks; an exception (out of
// memory) stops the parse and is rethrown once expat has returned.
struct ParseContext {
  XML_Parser parser;
  CollectionReader reader;
  std::exception_ptr failure;
};

void XMLCALL onStart(void* userData, const XML_Char* name, const XML_Char** attributes) {
  auto* context = static_cast<ParseContext*>(userData);
  try {
    context->reader.startElement(name, attributes);
  } catch (...) {
    context->failure = std::current_exception();
    XML_StopParser(context->parser, XML_FALSE);
  }
}

void XMLCALL onEnd(void* userData, const XML_Char* name) {
  auto* context = static_cast<ParseContext*>(userData);
  try {
    context->reader.endElement(name);
  } catch (...) {
    context->failure = std::current_exception();
    XML_StopParser(context->parser, XML_FALSE);
  }
}

}  // namespace

namespace {

// One document handed to expat piece by piece, as it is read.
class DocumentParser {
 public:
  DocumentParser() : parser_(XML_ParserCreate(nullptr)) {
    // No namespace processing; external entities and DTDs are never loaded
    // (expat only does so through a handler, and none is set).
    if (!parser_) throw std::bad_alloc();
    context_.parser = parser_.get();
    XML_SetUserData(parser_.get(), &context_);
    XML_SetElementHandler(parser_.get(), onStart, onEnd);
  }
  DocumentParser(const DocumentParser&) = delete;
  DocumentParser& operator=(const DocumentParser&) = delete;

  // Throws LibraryImportError at the first fault of the document.
  void feed(std::string_view bytes, bool last) {
    // expat takes int lengths, so a large piece goes in in parts.
    constexpr std::size_t kChunk = 16 << 20;
    do {
      const std::size_t length = std::min(kChunk, bytes.size());
      const bool final = last && length == bytes.size();
      if (XML_Parse(parser_.get(), bytes.data(), static_cast<int>(length), final ? XML_TRUE : XML_FALSE) !=
          XML_STATUS_OK)
        fail();
      bytes.remove_prefix(length);
    } while (!bytes.empty());
  }

  Library finish(const std::string& fileName, Date now) && {
    if (!context_.reader.sawRoot()) throw LibraryImportError::notRekordbox();
    return std::move(context_.reader).build(fileName, now);
  }

 private:
  [[noreturn]] void fail() {
    if (context_.failure) std::rethrow_exception(context_.failure);
    const XML_Error code = XML_GetErrorCode(parser_.get());
    const XML_LChar* description = XML_ErrorString(code);
    if (code == XML_ERROR_NONE || description == nullptr)
      throw LibraryImportError::unreadable("parse failed");
    throw LibraryImportError::unreadable("line " + std::to_string(XML_GetCurrentLineNumber(parser_.get())) +
                                         ": " + description);
  }

  std::unique_ptr<XML_ParserStruct, ParserDeleter> parser_;
  ParseContext context_{nullptr, {}, nullptr};
};

}  // namespace

Library RekordboxXMLImporter::importLibrary(std::string_view data, const std::string& fileName, Date now) {
  try {
    DocumentParser parser;
    parser.feed(data, true);
    return std::move(parser).finish(fileName, now);
  } catch (const std::bad_alloc&) {
    throw LibraryImportError::unreadable("not enough memory to read the file");
  }
}

Library RekordboxXMLImporter::importLibrary(const std::filesystem::path& file, Date now) {
  try {
    // Read in blocks as expat goes, never whole.
    DocumentParser parser;
    const auto failure = files::readRegularFileInBlocks(
        file, maximumFileBytes, [&](std::string_view block) { parser.feed(block, false); });
    if (failure == files::ReadFailure::tooLarge)
      throw LibraryImportError::unreadable("file is larger than 1 GB");
    if (failure) throw LibraryImportError::unreadable("file could not be opened");
    parser.feed({}, true);
    return std::move(parser).finish(file.filename().string(), now);
  } catch (const std::bad_alloc&) {
    throw LibraryImportError::unreadable("not enough memory to read the file");
  }
}

}  // namespace kesta
