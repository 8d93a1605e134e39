#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "library/library.h"
#include "platform/defaults/defaults_domain.h"
#include "store/stored_library.h"
#include "suggest/dj_set.h"

namespace kesta::test {

// A fresh folder under the system's temporary folder, removed with everything
// in it when the object goes.
class TempFolder {
 public:
  TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder();

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::filesystem::path& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// Sets (or, with no value, unsets) an environment variable for one scope.
class ScopedEnv {
 public:
  ScopedEnv(std::string name, const std::optional<std::string>& value);
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;
  ~ScopedEnv();

 private:
  std::string name_;
  std::optional<std::string> previous_;
};

// Every record file the store keeps in the data folder.
inline const std::vector<std::string> kRecordFiles = {"preferences.json", "userdata.json",
                                                      "library.json",     "active-set.json",
                                                      "sets.json",        "legacy-import.json"};

std::string readFile(const std::filesystem::path& file);
void writeFile(const std::filesystem::path& file, const std::string& bytes);
// The names in a folder, sorted.
std::vector<std::string> fileNames(const std::filesystem::path& folder);

enum class PlistFormat { binary, xml };
// Writes `values` as the domain's property-list file under `home`, the way
// another application would have stored its defaults.
void writeDomain(const std::filesystem::path& home, const std::string& domain,
                 const defaults::Dictionary& values, PlistFormat format);

// A library of `count` tracks with every field set, and a small report.
Library sampleLibrary(std::size_t count);
// The stored library in one piece, as StoredLibrary::toJson writes it: the
// text the sliced encoding and decoding must match.
std::string oneThreadText(const StoredLibrary& stored);
// A set with a few events of every kind.
DJSet sampleSet(double startedAt);

}  // namespace kesta::test
