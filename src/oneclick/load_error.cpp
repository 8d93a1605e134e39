#include "oneclick/load_error.h"

#include <utility>

namespace kesta {

namespace {

std::string fullText(LoadError::Case kind, int count, const std::string& reason) {
  using enum LoadError::Case;
  switch (kind) {
    case ambiguous:
      return "rekordbox showed " + std::to_string(count) +
             " rows that could be this track. Kesta didn't guess; load it yourself.";
    case becameUnsafe:
      return "Stopped before loading: " + reason;
    case rowMoved:
      return "The track wasn't in the row Kesta clicked, so it didn't load anything. "
             "Load this one yourself.";
    case accessibilityNeeded:
      return "One-click load needs Accessibility permission: System Settings \u203A "
             "Privacy & Security \u203A Accessibility \u203A Kesta Live Beta.";
    case rekordboxNotRunning:
      return "rekordbox isn't open.";
    case windowNotVisible:
      return "Kesta couldn't see rekordbox's window to find the track.";
    case notFound:
      return "Kesta couldn't find that exact track in rekordbox's search results "
             "(tried 3 times). Load it yourself.";
    case eventFailed:
      return "Kesta couldn't send keys to rekordbox.";
    case searchNotFocused:
      return "rekordbox's search box didn't take the cursor (Control-F), so Kesta stopped "
             "before typing. Load this one yourself.";
    case notFrontmost:
      return "rekordbox didn't come to the front, so Kesta stopped before sending any keys. "
             "Load this one yourself.";
    case resultsMoving:
      return "rekordbox's search results kept changing, so Kesta didn't click. "
             "Load this one yourself.";
  }
  return {};
}

}  // namespace

LoadError::LoadError(Case kind, int count, std::string reason)
    : kind_(kind),
      count_(count),
      reason_(std::move(reason)),
      description_(fullText(kind_, count_, reason_)) {}

LoadError LoadError::ambiguous(int count) { return {Case::ambiguous, count, {}}; }
LoadError LoadError::becameUnsafe(std::string reason) { return {Case::becameUnsafe, 0, std::move(reason)}; }
LoadError LoadError::rowMoved(std::string reason) { return {Case::rowMoved, 0, std::move(reason)}; }
LoadError LoadError::accessibilityNeeded() { return {Case::accessibilityNeeded, 0, {}}; }
LoadError LoadError::rekordboxNotRunning() { return {Case::rekordboxNotRunning, 0, {}}; }
LoadError LoadError::windowNotVisible() { return {Case::windowNotVisible, 0, {}}; }
LoadError LoadError::notFound() { return {Case::notFound, 0, {}}; }
LoadError LoadError::eventFailed() { return {Case::eventFailed, 0, {}}; }
LoadError LoadError::searchNotFocused() { return {Case::searchNotFocused, 0, {}}; }
LoadError LoadError::notFrontmost() { return {Case::notFrontmost, 0, {}}; }
LoadError LoadError::resultsMoving() { return {Case::resultsMoving, 0, {}}; }

std::string LoadError::shortDescription() const {
  using enum Case;
  switch (kind_) {
    case ambiguous:
      return "Several rows match. Load it yourself.";
    case becameUnsafe:
      return "Stopped: the deck changed or started.";
    case rowMoved:
      return "Clicked row didn't match. Nothing loaded.";
    case accessibilityNeeded:
      return "Needs Accessibility permission (see Full).";
    case rekordboxNotRunning:
      return "rekordbox isn't open.";
    case windowNotVisible:
      return "Couldn't see rekordbox's window.";
    case notFound:
      return "No exact row found. Load it yourself.";
    case eventFailed:
      return "Couldn't send keys to rekordbox.";
    case searchNotFocused:
      return "Search box not focused. Load it yourself.";
    case notFrontmost:
      return "rekordbox didn't come forward. Stopped.";
    case resultsMoving:
      return "Search results kept changing. Stopped.";
  }
  return {};
}

std::string LoadError::diagnosticsCode() const {
  using enum Case;
  switch (kind_) {
    case ambiguous:
      return "rows-ambiguous";
    case becameUnsafe:
      return "became-unsafe";
    case rowMoved:
      return "row-moved";
    case accessibilityNeeded:
      return "accessibility-needed";
    case rekordboxNotRunning:
      return "rekordbox-not-running";
    case windowNotVisible:
      return "window-not-visible";
    case notFound:
      return "row-not-found";
    case eventFailed:
      return "event-failed";
    case searchNotFocused:
      return "search-not-focused";
    case notFrontmost:
      return "not-frontmost";
    case resultsMoving:
      return "results-moving";
  }
  return {};
}

bool LoadError::worthRetrying() const {
  using enum Case;
  switch (kind_) {
    case rowMoved:
    case notFound:
    case searchNotFocused:
    case notFrontmost:
    case resultsMoving:
      return true;
    case ambiguous:
    case becameUnsafe:
    case accessibilityNeeded:
    case rekordboxNotRunning:
    case windowNotVisible:
    case eventFailed:
      return false;
  }
  return false;
}

}  // namespace kesta
