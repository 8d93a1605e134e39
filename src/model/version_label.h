#pragma once

#include <string>
#include <vector>

#include "library/track.h"

namespace kesta::model {

// The label of one version chip, in two parts: `lead` names the version and
// may be cut at its end to fit; `tail` (" · <bpm>" and, when needed, more)
// is always shown whole. Shown as lead + tail.
struct VersionLabel {
  std::string lead;
  std::string tail;

  std::string text() const { return lead + tail; }
  friend bool operator==(const VersionLabel&, const VersionLabel&) = default;
};

// The chips' labels for the versions an ambiguous deck may hold, in the
// candidates' order, chosen so that no two read the same. The lead is what
// sets the titles apart (the mix or version, "(Extended Mix)", the title
// minus the words all the titles share), or the artist when the titles are
// the same. The tail is the tempo, then (where the lead is no artist) the
// artist, the key and the length, each
// only when it parts versions that still read the same; versions alike in
// all of these are numbered " · copy <n>". Pure.
std::vector<VersionLabel> versionLabels(const std::vector<Track>& candidates);

}  // namespace kesta::model
