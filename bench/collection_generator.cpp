#include "collection_generator.h"

#include <array>
#include <cstdint>
#include <random>
#include <string_view>
#include <vector>

namespace kesta::bench {

namespace {

// mt19937's output is fixed by the standard; the picks below use plain
// modulo so no library's distribution changes the bytes.
class Picker {
 public:
  explicit Picker(std::uint32_t seed) : random_(seed) {}
  std::uint32_t below(std::uint32_t bound) { return static_cast<std::uint32_t>(random_() % bound); }
  bool percent(std::uint32_t chance) { return below(100) < chance; }
  template <class List>
  const auto& from(const List& list) {
    return list[below(static_cast<std::uint32_t>(std::size(list)))];
  }

 private:
  std::mt19937 random_;
};

constexpr std::array<std::string_view, 24> kWords = {"Deep",   "Night", "Shadow", "Love",   "Dance", "Floor",
                                                     "Rise",   "Gold",  "Echo",   "Signal", "Lost",  "Summer",
                                                     "Drive",  "Fire",  "Dream",  "Pulse",  "Ocean", "Neon",
                                                     "Velvet", "Storm", "Solar",  "Motion", "Ghost", "Heart"};
constexpr std::array<std::string_view, 6> kMixes = {" (Original Mix)", " (Extended Mix)", " (Dub)",
                                                    " (Club Mix)",     " - Radio Edit",   ""};
// Entity-escaped as rekordbox writes them.
constexpr std::array<std::string_view, 12> kArtists = {"Anna S&#248;rensen",
                                                       "DJ Kilo",
                                                       "Marine &amp; Coast",
                                                       "The &quot;Night&quot; Shift",
                                                       "Nimbus",
                                                       "Solar Drive",
                                                       "Beyonc&#233; Tribute",
                                                       "K&apos;Lo",
                                                       "Ocean Avenue",
                                                       "Deep Current",
                                                       "Pulse Theory",
                                                       "Velvet Room"};
constexpr std::array<std::string_view, 8> kGenres = {"Deep House", "Tech House", "Techno", "Disco",
                                                     "Afro House", "Melodic",    "House",  "Minimal"};
constexpr std::array<std::string_view, 24> kClassicKeys = {"Abm", "Ebm", "Bbm", "Fm",  "Cm", "Gm", "Dm", "Am",
                                                           "Em",  "Bm",  "F#m", "Dbm", "B",  "F#", "Db", "Ab",
                                                           "Eb",  "Bb",  "F",   "C",   "G",  "D",  "A",  "E"};
constexpr std::array<std::string_view, 5> kComments = {"", "Energy: 7", "great opener - energy 5",
                                                       "Purchased at Beatport.com", "ENERGY-9 peak time"};

std::string percentEncoded(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";  // rekordbox writes lowercase escapes
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == ' ' || byte == '%' || byte == '[' || byte == ']' || byte >= 0x80) {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 0xf];
    } else {
      out += c;
    }
  }
  return out;
}

std::string title(Picker& pick) {
  std::string out;
  const auto words = 1 + pick.below(3);
  for (std::uint32_t w = 0; w < words; ++w) {
    if (w > 0) out += ' ';
    out += pick.from(kWords);
  }
  return out + std::string(pick.from(kMixes));
}

struct Entry {
  std::string id;
  std::string location;
};

Entry appendTrack(std::string& out, Picker& pick, std::size_t index) {
  const std::string id = std::to_string(100'000'000 + pick.below(150'000'000) * 4 + index % 4);
  const std::string name = title(pick);
  const std::string_view artist = pick.from(kArtists);
  const std::uint32_t kind = pick.below(100);
  std::string location;
  if (kind < 3) {
    location = "file://localhostsoundcloud:tracks:" + std::to_string(800'000'000 + index);
  } else if (kind < 5) {
    location = "file://localhostspotify:track:4uLU6hMCjMI75M1A" + std::to_string(index);
  } else {
    const std::string folder =
        kind < 15 ? "file://localhost/C:/Users/dj/Music/" : "file://localhost/Users/dj/Music/";
    std::string file = std::string(pick.from(kGenres)) + "/" + name + " [" + std::to_string(index) + "]";
    if (pick.percent(5)) file += " #2?";  // left raw by rekordbox
    if (pick.percent(5)) file += " 100% Vinyl";
    if (pick.percent(10)) file += " \xc3\xb8";
    location = folder + percentEncoded(file) + ".mp3";
  }
  const bool analysed = !pick.percent(4);
  const std::uint32_t bpmTenths = 1150 + pick.below(150);
  const std::string bpm = std::to_string(bpmTenths / 10) + "." + std::to_string(bpmTenths % 10) + "0";
  std::string key;
  if (analysed) {
    const std::uint32_t keyKind = pick.below(100);
    key = keyKind < 85   ? std::string(pick.from(kClassicKeys))
          : keyKind < 95 ? std::to_string(1 + pick.below(12)) + (pick.percent(50) ? "A" : "B")
          : keyKind < 98 ? ""
                         : "Fmin";
  }
  const std::string edge = pick.percent(3) ? " " : "";

  out += "    <TRACK TrackID=\"" + id + "\" Name=\"" + edge + name + edge + "\" Artist=\"" +
         std::string(artist) + "\" Composer=\"\" Album=\"" + std::string(pick.from(kWords)) +
         " Sessions Vol. " + std::to_string(1 + pick.below(20)) + "\"\r\n           Grouping=\"" +
         (pick.percent(5) ? "energy 6" : "") + "\" Genre=\"" + std::string(pick.from(kGenres)) +
         "\" Kind=\"MP3 File\" Size=\"" + std::to_string(5'000'000 + pick.below(15'000'000)) +
         "\" TotalTime=\"" + std::to_string(180 + pick.below(300)) + "\" DiscNumber=\"0\" TrackNumber=\"" +
         std::to_string(pick.below(12)) + "\" Year=\"" + std::to_string(1990 + pick.below(35)) +
         "\" AverageBpm=\"" + (analysed ? bpm : "0.00") + "\"\r\n           DateAdded=\"2024-0" +
         std::to_string(1 + pick.below(9)) + "-1" + std::to_string(pick.below(10)) +
         "\" BitRate=\"320\" SampleRate=\"44100\" Comments=\"" + std::string(pick.from(kComments)) +
         "\" PlayCount=\"" + std::to_string(pick.percent(70) ? 0 : pick.below(30)) + "\" Rating=\"" +
         std::to_string(51 * pick.below(6)) + "\"\r\n           Location=\"" + location +
         "\"\r\n           Remixer=\"\" Tonality=\"" + key + "\" Label=\"" + std::string(pick.from(kWords)) +
         " Records\" Mix=\"\"";
  if (!analysed) {
    out += "/>\r\n";
    return {id, location};
  }
  out += ">\r\n";
  const std::uint32_t tempos = pick.percent(15) ? 2 + pick.below(3) : 1;
  for (std::uint32_t t = 0; t < tempos; ++t) {
    out += "      <TEMPO Inizio=\"" + std::to_string(t * 30) + ".025\" Bpm=\"" + bpm +
           "\" Metro=\"4/4\" Battito=\"" + std::to_string(1 + t % 4) + "\"/>\r\n";
  }
  const std::uint32_t cues = pick.below(4);
  for (std::uint32_t c = 0; c < cues; ++c) {
    out += "      <POSITION_MARK Name=\"\" Type=\"0\" Start=\"" + std::to_string(16 * c) + ".710\" Num=\"" +
           std::to_string(c) + "\" Red=\"40\" Green=\"226\" Blue=\"20\"/>\r\n";
    out += "      <POSITION_MARK Name=\"\" Type=\"0\" Start=\"" + std::to_string(16 * c) +
           ".710\" Num=\"-1\"/>\r\n";
  }
  out += "    </TRACK>\r\n";
  return {id, location};
}

void appendPlaylist(std::string& out, Picker& pick, const std::vector<Entry>& entries, std::string_view name,
                    bool byLocation) {
  const std::uint32_t count = 20 + pick.below(150);
  out += "        <NODE Name=\"" + std::string(name) + "\" Type=\"1\" KeyType=\"" + (byLocation ? "1" : "0") +
         "\" Entries=\"" + std::to_string(count) + "\">\r\n";
  for (std::uint32_t i = 0; i < count; ++i) {
    const Entry& entry = entries[pick.below(static_cast<std::uint32_t>(entries.size()))];
    const std::string& key = byLocation ? entry.location : entry.id;
    out += "          <TRACK Key=\"" + key + "\"/>\r\n";
    if (pick.percent(2)) out += "          <TRACK Key=\"" + key + "\"/>\r\n";  // listed twice
  }
  out += "        </NODE>\r\n";
}

}  // namespace

std::string generateCollection(std::size_t trackCount) {
  Picker pick(950);
  std::string out;
  out.reserve(trackCount * 1100);
  out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n<DJ_PLAYLISTS Version=\"1.0.0\">\r\n";
  out += "  <PRODUCT Name=\"rekordbox\" Version=\"6.8.5\" Company=\"AlphaTheta\"/>\r\n";
  out += "  <COLLECTION Entries=\"" + std::to_string(trackCount) + "\">\r\n";
  std::vector<Entry> entries;
  entries.reserve(trackCount);
  for (std::size_t i = 0; i < trackCount; ++i) entries.push_back(appendTrack(out, pick, i));
  out += "  </COLLECTION>\r\n  <PLAYLISTS>\r\n    <NODE Type=\"0\" Name=\"ROOT\" Count=\"20\">\r\n";
  for (int folder = 0; folder < 20; ++folder) {
    out += "      <NODE Type=\"0\" Name=\"" + std::string(kGenres[folder % kGenres.size()]) + " " +
           std::to_string(2015 + folder) + "\" Count=\"8\">\r\n";
    for (int playlist = 0; playlist < 8; ++playlist) {
      const std::string name = playlist == 7 ? "Warm Up" : std::string(pick.from(kWords)) + " Set";
      appendPlaylist(out, pick, entries, name, playlist == 3);
    }
    out += "      </NODE>\r\n";
  }
  out += "    </NODE>\r\n  </PLAYLISTS>\r\n</DJ_PLAYLISTS>\r\n";
  return out;
}

}  // namespace kesta::bench
