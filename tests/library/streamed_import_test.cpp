#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "library/library_import_error.h"
#include "library/rekordbox_xml_importer.h"

namespace kesta {
namespace {

const Date kNow = Date::fromUnixSeconds(1'780'000'000);

// An export of `count` tracks, each about 200 bytes, in one playlist; `tail`
// goes just before the end.
std::string exportOf(std::size_t count, const std::string& tail = "") {
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<DJ_PLAYLISTS><COLLECTION>\r\n";
  std::string refs;
  for (std::size_t i = 1; i <= count; ++i) {
    const std::string id = std::to_string(i);
    xml += "<TRACK TrackID=\"" + id + "\" Name=\"Title &amp; " + id + "\" Artist=\"Artist " + id +
           "\" AverageBpm=\"124.00\" Tonality=\"8A\" Location=\"file://localhost/music/" + id +
           ".mp3\"><TEMPO Bpm=\"124\"/></TRACK>\r\n";
    refs += "<TRACK Key=\"" + id + "\"/>";
  }
  return xml + "</COLLECTION><PLAYLISTS><NODE Name=\"ROOT\"><NODE Type=\"1\" Name=\"all\">" + refs +
         "</NODE></NODE></PLAYLISTS>" + tail + "</DJ_PLAYLISTS>\r\n";
}

// The library, or the error text, as one line to compare.
std::string outcome(const std::function<Library()>& import) {
  try {
    const Library library = import();
    std::string text = std::to_string(library.tracks.size()) + " tracks:";
    for (const auto& track : library.tracks) text += " " + track.id + "=" + track.title;
    for (const auto& playlist : library.playlists)
      text += " [" + std::to_string(playlist.trackIDs.size()) + "]";
    return text;
  } catch (const LibraryImportError& error) {
    return error.what();
  }
}

TEST(StreamedImport, AFileReadInBlocksImportsAsTheSameBytesInMemory) {
  struct Case {
    const char* name;
    std::string xml;
  };
  const std::vector<Case> cases = {
      {"one track", exportOf(1)},
      {"several blocks", exportOf(15'000)},
      {"a fault past the first block", exportOf(15'000, "<broken")},
      {"no root", "<COLLECTION>" + std::string(3 << 20, ' ') + "</COLLECTION>"},
  };
  const auto file = std::filesystem::temp_directory_path() / ("kesta-streamed-" + std::to_string(::getpid()));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::ofstream(file, std::ios::binary) << c.xml;
    const std::string fromFile = outcome([&] { return RekordboxXMLImporter::importLibrary(file, kNow); });
    EXPECT_EQ(fromFile, outcome([&] {
                return RekordboxXMLImporter::importLibrary(c.xml, file.filename().string(), kNow);
              }));
    EXPECT_FALSE(fromFile.empty());
  }
  std::filesystem::remove(file);
}

}  // namespace
}  // namespace kesta
