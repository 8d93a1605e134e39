// How fast a large collection export becomes a Library, against a bare expat
// pass over the same bytes (the floor any streaming import stands on).
#include <benchmark/benchmark.h>
#include <expat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "collection_generator.h"
#include "library/rekordbox_xml_importer.h"
#include "peak_memory.h"

namespace {

using kesta::bench::peakMegabytes;
using kesta::bench::resetPeakMemory;

constexpr std::size_t kTracks = 50'000;

// The same 50,000-track file for every benchmark, written once.
const std::filesystem::path& collectionFile() {
  static const std::filesystem::path path = [] {
    const auto file = std::filesystem::temp_directory_path() / "kesta-bench-collection.xml";
    const std::string xml = kesta::bench::generateCollection(kTracks);
    std::ofstream(file, std::ios::binary).write(xml.data(), static_cast<std::streamsize>(xml.size()));
    return file;
  }();
  return path;
}

std::string readCollection() {
  std::ifstream in(collectionFile(), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void XMLCALL countElement(void* count, const XML_Char*, const XML_Char**) {
  ++*static_cast<std::size_t*>(count);
}

void BM_BareExpatPass(benchmark::State& state) {
  const std::string xml = readCollection();
  std::size_t elements = 0;
  for (auto _ : state) {
    elements = 0;
    XML_Parser parser = XML_ParserCreate(nullptr);
    XML_SetUserData(parser, &elements);
    XML_SetStartElementHandler(parser, countElement);
    if (XML_Parse(parser, xml.data(), static_cast<int>(xml.size()), XML_TRUE) != XML_STATUS_OK) {
      state.SkipWithError("the generated collection does not parse");
    }
    XML_ParserFree(parser);
    benchmark::DoNotOptimize(elements);
  }
  state.counters["elements"] = static_cast<double>(elements);
  state.counters["bytes_per_track"] = static_cast<double>(xml.size()) / kTracks;
}
BENCHMARK(BM_BareExpatPass)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_ImportLibrary(benchmark::State& state) {
  const auto& file = collectionFile();
  std::size_t tracks = 0;
  resetPeakMemory();
  for (auto _ : state) {
    const kesta::Library library = kesta::RekordboxXMLImporter::importLibrary(file);
    tracks = library.tracks.size();
    benchmark::DoNotOptimize(library.tracks.data());
  }
  state.counters["tracks"] = static_cast<double>(tracks);
  state.counters["peak_rss_MB"] = peakMegabytes();
}
BENCHMARK(BM_ImportLibrary)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
BENCHMARK_MAIN();
