#include <utility>

#include "model/app_model.h"

namespace kesta::model {

namespace {

constexpr double kFlagNoticeSeconds = 8;

}  // namespace

StatusInputs AppModel::statusInputs() const {
  StatusInputs s;
  s.loadStatus = loadStatus_;
  s.loadStatusShort = loadStatusShort_;
  s.notice = notice_;
  s.noticeShort = noticeShort_;
  s.libraryState = libraryState_;
  s.libraryEmpty = library_->isEmpty();
  s.watching = watching_;
  s.screenPermission = screenPermission_;
  s.askedForScreenPermission = askedForScreenPermission_;
  s.health = health_;
  const auto& scans = diagnosticsSession_.log.scans;
  s.newestScan = scans.empty() ? nullptr : &scans.back();
  s.oneClickNeedsAccess = oneClickNeedsAccess_;
  s.oneClickLoad = oneClickLoad_;
  s.exportChangedDuringSet = exportChangedDuringSet_;
  s.pendingDecks = pendingDecks_;
  s.phase = phase_;
  s.hasResumePoint = followedAtStop_.has_value() || resuming_;
  s.focus = focus_;
  s.motion = motion_;
  s.mixer = mixer_;
  s.screenTracks = screenTracks_;
  s.index = &index_;
  s.staleExportDay = [this]() -> std::optional<std::string> {
    if (!rekordboxChangedSinceExport()) return std::nullopt;
    return libraryModifiedAt_ ? dayFormatter_->monthDay(*libraryModifiedAt_) : std::string();
  };
  return s;
}

std::string AppModel::status(bool compact) const { return statusText(statusInputs(), compact); }

CardHeading AppModel::cardHeading() const { return model::cardHeading(statusInputs()); }

bool AppModel::readerProblem() const {
  return health_.as<ReaderHealth::CannotSeeDecks>() != nullptr ||
         health_.as<ReaderHealth::Failed>() != nullptr;
}

std::optional<int> AppModel::otherLoadedDeck() const {
  if (!focus_) return std::nullopt;
  const int other = focus_->deck == 1 ? 2 : 1;
  const auto index = static_cast<std::size_t>(other - 1);
  if (index < decks_.size() && decks_[index].hasMedia()) return other;
  return std::nullopt;
}

void AppModel::flagWrongTrack() {
  diagnosticsSession_.log.recordDJFlag();
  diagnosticsDirty_ = true;
  saveDiagnostics();
  show("Noted, thanks. Tap the deck you're mixing from to fix it now; the flag is in Diagnostics.",
       "Noted. Right-click the track to follow the other deck.", kFlagNoticeSeconds);
}

}  // namespace kesta::model
