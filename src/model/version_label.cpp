#include "model/version_label.h"

#include <algorithm>
#include <cstddef>
#include <functional>
#include <map>

#include "platform/text/unicode_text.h"

namespace kesta::model {

namespace {

using Part = std::function<std::string(const Track&)>;

// What is left of each title past the words that all of them begin with;
// a title that is nothing but those words is kept whole.
std::vector<std::string> titleRemainders(const std::vector<Track>& candidates) {
  std::size_t common = candidates.front().title.size();
  for (const Track& track : candidates) {
    const std::string& first = candidates.front().title;
    const auto [mismatch, ignored] = std::mismatch(first.begin(), first.begin() + std::ptrdiff_t(common),
                                                   track.title.begin(), track.title.end());
    common = std::size_t(mismatch - first.begin());
  }
  // Back to a word's edge in every title, so a shared "(Ex" does not split "Extended".
  const auto atEdge = [&](std::size_t n) {
    return std::all_of(candidates.begin(), candidates.end(), [n](const Track& track) {
      return n == track.title.size() || track.title[n] == ' ' || track.title[n - 1] == ' ';
    });
  };
  while (common > 0 && !atEdge(common)) --common;
  std::vector<std::string> out;
  for (const Track& track : candidates) {
    std::string rest = track.title.substr(common);
    while (!rest.empty() && (rest.front() == ' ' || rest.front() == '-')) rest.erase(rest.begin());
    out.push_back(rest.empty() ? track.title : rest);
  }
  return out;
}

std::string length(const Track& track) {
  if (track.durationSeconds <= 0) return "—";
  const int seconds = track.durationSeconds % 60;
  return std::to_string(track.durationSeconds / 60) + (seconds < 10 ? ":0" : ":") + std::to_string(seconds);
}

// Labels that read the same, grouped: each group lists the indices of one text.
std::vector<std::vector<std::size_t>> ties(const std::vector<VersionLabel>& labels) {
  std::map<std::string, std::vector<std::size_t>> byText;
  for (std::size_t i = 0; i < labels.size(); ++i) byText[labels[i].text()].push_back(i);
  std::vector<std::vector<std::size_t>> out;
  for (auto& [text, indices] : byText) {
    if (indices.size() > 1) out.push_back(std::move(indices));
  }
  return out;
}

// True when `part` reads differently for two versions that are tied now.
bool parts(const std::vector<Track>& candidates, const std::vector<VersionLabel>& labels, const Part& part) {
  for (const auto& group : ties(labels)) {
    for (const std::size_t i : group) {
      if (part(candidates[i]) != part(candidates[group.front()])) return true;
    }
  }
  return false;
}

}  // namespace

std::vector<VersionLabel> versionLabels(const std::vector<Track>& candidates) {
  if (candidates.empty()) return {};
  const bool sameTitles = std::all_of(candidates.begin(), candidates.end(), [&](const Track& track) {
    return track.title == candidates.front().title;
  });
  const std::vector<std::string> remainders = titleRemainders(candidates);
  std::vector<VersionLabel> labels;
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    const Track& track = candidates[i];
    labels.push_back(
        {unicode::isolated(sameTitles ? track.displayArtist() : remainders[i]), " · " + track.displayBPM()});
  }
  std::vector<Part> extras{[](const Track& track) { return track.displayKey(); }, length};
  if (!sameTitles)
    extras.insert(extras.begin(),
                  [](const Track& track) { return unicode::isolated(track.displayArtist()); });
  for (const Part& part : extras) {
    if (!parts(candidates, labels, part)) continue;
    for (std::size_t i = 0; i < candidates.size(); ++i) labels[i].tail += " · " + part(candidates[i]);
  }
  for (const auto& group : ties(labels)) {
    for (std::size_t n = 0; n < group.size(); ++n)
      labels[group[n]].tail += " · copy " + std::to_string(n + 1);
  }
  return labels;
}

}  // namespace kesta::model
