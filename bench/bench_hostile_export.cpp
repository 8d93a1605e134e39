// A small export built to blow memory up: 11 tracks, two of them with
// 65,000-byte TrackIDs, and playlists that list tracks by location
// (KeyType="1") tens of thousands of times. Imported and encoded for
// "library.json" as an import does, counting the heap's high-water mark: it
// must follow the export's size, not the entries times the id's length. The
// next start's mark is counted too: the file written and read back in blocks
// as a start reads it.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>

#include "heap_counter.h"
#include "library/rekordbox_xml_importer.h"
#include "platform/files/outside_file.h"
#include "store/atomic_file.h"
#include "store/library_file.h"
#include "store/library_file_reader.h"

namespace {

constexpr int kTracks = 11;
constexpr int kLongIds = 2;
constexpr std::size_t kLongIdBytes = 65'000;

std::string location(int track) { return "/m/" + std::to_string(track); }

// About 540 KB with 20,000 entries.
std::string hostileExport(int entries) {
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<DJ_PLAYLISTS Version=\"1.0.0\">\n";
  xml += "<COLLECTION Entries=\"" + std::to_string(kTracks) + "\">\n";
  for (int track = 0; track < kTracks; ++track) {
    const std::string id =
        track < kLongIds ? std::string(kLongIdBytes, static_cast<char>('a' + track)) : std::to_string(track);
    xml += "<TRACK TrackID=\"" + id + "\" Name=\"Track " + std::to_string(track) +
           "\" Artist=\"Someone\" AverageBpm=\"124.00\" Tonality=\"8A\" Location=\"" + location(track) +
           "\"/>\n";
  }
  xml += "</COLLECTION>\n<PLAYLISTS>\n<NODE Type=\"0\" Name=\"ROOT\" Count=\"2\">\n";
  for (int playlist = 0; playlist < 2; ++playlist) {
    xml += "<NODE Name=\"Loop " + std::to_string(playlist) + "\" Type=\"1\" KeyType=\"1\">\n";
    for (int entry = playlist; entry < entries; entry += 2)
      xml += "<TRACK Key=\"" + location(entry % kLongIds) + "\"/>\n";
    xml += "</NODE>\n";
  }
  xml += "</NODE>\n</PLAYLISTS>\n</DJ_PLAYLISTS>\n";
  return xml;
}

// The heap's high-water mark over `work`, above what was in use before it.
template <class Work>
double peakMB(Work work) {
  const std::size_t before = kesta::bench::HeapCounter::inUse();
  kesta::bench::HeapCounter::resetPeak();
  work();
  return static_cast<double>(kesta::bench::HeapCounter::peak() - before) / 1e6;
}

void BM_HostileExportPeakHeap(benchmark::State& state) {
  const std::string xml = hostileExport(static_cast<int>(state.range(0)));
  const auto file = std::filesystem::temp_directory_path() / "kesta-bench-hostile-library.json";
  double importMB = 0;
  double nextStartMB = 0;
  double textMB = 0;
  for (auto _ : state) {
    bool written = false;
    importMB = peakMB([&] {
      const kesta::Library library =
          kesta::RekordboxXMLImporter::importLibrary(xml, "hostile.xml", kesta::Date{0});
      const auto text = kesta::LibraryFile::encodeText(library, "/hostile.xml", std::nullopt,
                                                       kesta::LibraryFile::maximumBytes);
      textMB = static_cast<double>(text.size()) / 1e6;
      written = text.size() <= kesta::LibraryFile::maximumBytes;
      if (written) kesta::AtomicFile::write(file, text.views());
    });
    if (!written) continue;
    nextStartMB = peakMB([&] {
      kesta::LibraryFile::Reader reader;
      kesta::files::readRegularFileInBlocks(file, kesta::LibraryFile::maximumBytes,
                                            [&](std::string_view block) { reader.add(block); });
      const auto stored = std::move(reader).decode();
      benchmark::DoNotOptimize(stored.library.playlists.size());
    });
  }
  std::filesystem::remove(file);
  state.counters["export_KB"] = static_cast<double>(xml.size()) / 1e3;
  state.counters["peak_heap_MB"] = importMB;
  state.counters["next_start_MB"] = nextStartMB;
  state.counters["library_json_MB"] = textMB;
}
// 20,000 entries would store 1.3 GB, over the limit, so the encoding stops
// there; 16,500 store just under 1 GiB; 4,000 store 260 MB, all of it text
// the format asks for.
BENCHMARK(BM_HostileExportPeakHeap)
    ->Arg(20'000)
    ->Arg(16'500)
    ->Arg(4'000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
