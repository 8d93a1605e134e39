#include "store/store_fixtures.h"

#include <plist/plist.h>
#include <stdlib.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>

#include "platform/json/json_coding.h"

namespace kesta::test {

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "kesta-store-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                               ignored);
  std::filesystem::remove_all(path_, ignored);
}

ScopedEnv::ScopedEnv(std::string name, const std::optional<std::string>& value) : name_(std::move(name)) {
  if (const char* old = std::getenv(name_.c_str())) previous_ = old;
  if (value) {
    ::setenv(name_.c_str(), value->c_str(), 1);
  } else {
    ::unsetenv(name_.c_str());
  }
}

ScopedEnv::~ScopedEnv() {
  if (previous_) {
    ::setenv(name_.c_str(), previous_->c_str(), 1);
  } else {
    ::unsetenv(name_.c_str());
  }
}

std::string readFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const std::filesystem::path& file, const std::string& bytes) {
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << bytes;
}

std::vector<std::string> fileNames(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    names.push_back(it->path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

namespace {

plist_t toPlist(const defaults::Value& value) {
  return std::visit(
      [](const auto& content) -> plist_t {
        using T = std::decay_t<decltype(content)>;
        if constexpr (std::is_same_v<T, bool>) {
          return plist_new_bool(content ? 1 : 0);
        } else if constexpr (std::is_same_v<T, std::int64_t>) {
          return plist_new_uint(static_cast<std::uint64_t>(content));
        } else if constexpr (std::is_same_v<T, double>) {
          return plist_new_real(content);
        } else if constexpr (std::is_same_v<T, std::string>) {
          return plist_new_string(content.c_str());
        } else if constexpr (std::is_same_v<T, defaults::Data>) {
          return plist_new_data(content.bytes.data(), content.bytes.size());
        } else if constexpr (std::is_same_v<T, Date>) {
          return plist_new_date(static_cast<std::int32_t>(content.secondsSinceReference), 0);
        } else if constexpr (std::is_same_v<T, defaults::Array>) {
          plist_t array = plist_new_array();
          for (const auto& item : content) plist_array_append_item(array, toPlist(item));
          return array;
        } else {
          plist_t dict = plist_new_dict();
          for (const auto& [key, item] : content) plist_dict_set_item(dict, key.c_str(), toPlist(item));
          return dict;
        }
      },
      value.content);
}

}  // namespace

void writeDomain(const std::filesystem::path& home, const std::string& domain,
                 const defaults::Dictionary& values, PlistFormat format) {
  const std::unique_ptr<void, void (*)(plist_t)> root(toPlist(defaults::Value{values}), plist_free);
  char* bytes = nullptr;
  std::uint32_t length = 0;
  if (format == PlistFormat::binary) {
    plist_to_bin(root.get(), &bytes, &length);
  } else {
    plist_to_xml(root.get(), &bytes, &length);
  }
  writeFile(defaults::Domain::fileOf(domain, home), std::string(bytes, length));
  if (format == PlistFormat::binary) {
    plist_to_bin_free(bytes);
  } else {
    plist_to_xml_free(bytes);
  }
}

Library sampleLibrary(std::size_t count) {
  Library library;
  library.sourceFileName = "collection.xml";
  library.importedAt = Date{725000000.25};
  for (std::size_t i = 0; i < count; ++i) {
    const std::string n = std::to_string(i);
    Track track;
    track.id = n;
    track.key = StableKey::forLocation("file://localhost/Music/track-" + n + ".mp3");
    track.source = Source::local();
    track.title = "Title " + n + " (Extended Mix)";
    track.artist = "Artist " + std::to_string(i % 997) + " feat. Ünïcödé";
    track.remixer = i % 3 == 0 ? "Remixer " + n : "";
    track.genre = i % 2 == 0 ? "Tech House" : "Melodic Techno";
    track.bpm = 118.0 + static_cast<double>(i % 200) / 10.0;
    track.keyText = i % 5 == 0 ? std::nullopt : std::optional<std::string>("8A");
    track.musicalKey =
        track.keyText ? MusicalKey::fromNumber(static_cast<int>(i % 12) + 1, i % 2 == 0) : std::nullopt;
    track.energy = i % 4 == 0 ? std::nullopt : std::optional<int>(static_cast<int>(i % 10) + 1);
    track.durationSeconds = 300 + static_cast<int>(i % 120);
    track.playCount = static_cast<int>(i % 17);
    track.stars = static_cast<int>(i % 6);
    track.hotCueCount = static_cast<int>(i % 8);
    track.memoryCueCount = static_cast<int>(i % 3);
    library.tracks.push_back(std::move(track));
  }
  for (std::size_t p = 0; p < 3 && count > 0; ++p) {
    Playlist playlist{"00000000000000a" + std::to_string(p), "Playlist " + std::to_string(p), {"Gigs"}, {}};
    for (std::size_t i = p; i < count; i += 7) playlist.trackIDs.push_back(std::to_string(i));
    library.playlists.push_back(std::move(playlist));
  }
  library.report.totalEntries = static_cast<int>(count);
  library.report.recommendable = static_cast<int>(count);
  library.report.sources["local"] = static_cast<int>(count);
  library.report.playlists = static_cast<int>(library.playlists.size());
  return library;
}

std::string oneThreadText(const StoredLibrary& stored) { return json::write(stored.toJson()); }

DJSet sampleSet(double startedAt) {
  Track track;
  track.id = "1";
  track.key = StableKey{"spotify:42"};
  track.source = Source{"spotify"};
  track.title = "Song";
  track.artist = "Someone";
  DJSet set = DJSet::started(Date{startedAt});
  set.events.push_back(SetEvent::make(SetEvent::Kind::shown, Date{startedAt + 1}, &track, Lane::groove));
  set.events.push_back(
      SetEvent::make(SetEvent::Kind::loaded, Date{startedAt + 2.5}, &track, std::nullopt, 2));
  set.events.push_back(SetEvent::make(SetEvent::Kind::played, Date{startedAt + 40}, &track, std::nullopt, 2));
  set.events.push_back(SetEvent::make(SetEvent::Kind::replayEnabled, Date{startedAt + 50}, nullptr));
  set.endedAt = Date{startedAt + 3600};
  return set;
}

}  // namespace kesta::test
