#include "model/model_status.h"

#include "model/diagnostics_record.h"
#include "model/library_keeper.h"
#include "model/live_mirror.h"
#include "model/notices.h"
#include "model/one_click_load.h"
#include "model/watching.h"

namespace kesta::model {

namespace {

constexpr double kFlagNoticeSeconds = 8;

}  // namespace

StatusInputs ModelStatus::inputs() const {
  const LiveMirror& live = parts_.live;
  const LibraryKeeper& library = parts_.library;
  StatusInputs s;
  s.loadStatus = parts_.oneClick.loadStatus();
  s.loadStatusShort = parts_.oneClick.loadStatusShort();
  s.notice = parts_.notices.notice();
  s.noticeShort = parts_.notices.noticeShort();
  s.libraryState = library.state();
  s.libraryEmpty = library.library().isEmpty();
  s.watching = parts_.watching.watching();
  s.screenPermission = parts_.watching.screenPermission();
  s.askedForScreenPermission = parts_.watching.askedForScreenPermission();
  s.health = live.health();
  const auto& scans = parts_.diagnostics.session().log.scans;
  s.newestScan = scans.empty() ? nullptr : &scans.back();
  s.oneClickNeedsAccess = live.oneClickNeedsAccess();
  s.oneClickLoad = parts_.oneClick.oneClickLoad();
  s.exportChangedDuringSet = library.exportChangedDuringSet();
  s.pendingDecks = live.pendingDecks();
  s.phase = live.phase();
  s.hasResumePoint = parts_.watching.followedAtStop().has_value() || parts_.watching.resuming();
  s.focus = live.focus();
  s.motion = live.motion();
  s.mixer = live.mixer();
  s.screenTracks = live.screenTracks();
  s.index = &library.index();
  s.staleExportDay = [&library, formatter = dayFormatter_]() -> std::optional<std::string> {
    if (!library.rekordboxChangedSinceExport()) return std::nullopt;
    return library.modifiedAt() ? formatter->monthDay(*library.modifiedAt()) : std::string();
  };
  return s;
}

void ModelStatus::flagWrongTrack() {
  parts_.diagnostics.log().recordDJFlag();
  parts_.diagnostics.save();
  parts_.notices.show(
      "Noted, thanks. Tap the deck you're mixing from to fix it now; the flag is in Diagnostics.",
      "Noted. Right-click the track to follow the other deck.", kFlagNoticeSeconds);
}

}  // namespace kesta::model
