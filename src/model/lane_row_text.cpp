#include "model/lane_row_text.h"

#include "platform/text/unicode_text.h"

namespace kesta::model {

namespace {

constexpr const char* kBlank = " ";

void fillOption(LaneRowText& row, const Suggestion& s, RowForm form) {
  const Track& track = s.track;
  row.title = track.title;
  if (form == RowForm::card) {
    row.detail = track.displayArtist();
    row.tempo = track.displayBPM() + " · " + track.displayKey();
    return;
  }
  row.detailKept = " · " + s.why;
  row.detail = unicode::isolated(track.displayArtist()) + row.detailKept;
  row.caveat = s.caveat.value_or(kBlank);
  row.tempo = track.displayBPM();
  row.key = track.displayKey();
}

// The full row: a ranking under way first, then the lane's reason.
void fillFullEmpty(LaneRowText& row, const ViewSnapshot& snapshot, Lane lane) {
  const LaneView& view = snapshot.lane(lane);
  row.emptyTooltip = view.emptyReason.value_or("");
  if (snapshot.ranking) {
    row.emptyText = "…";
  } else if (view.emptyReason) {
    row.emptyText = *view.emptyReason;
  } else if (snapshot.currentTrack) {
    row.emptyText = "—";
  } else if (lane == Lane::groove) {
    row.emptyText = "Suggestions appear once Kesta knows the loaded track.";
  } else {
    row.emptyText = kBlank;
  }
}

// The card: the short reason, which falls back to the long one in the tooltip.
void fillCardEmpty(LaneRowText& row, const ViewSnapshot& snapshot, Lane lane) {
  const LaneView& view = snapshot.lane(lane);
  if (view.emptyShort) {
    row.emptyText = *view.emptyShort;
  } else {
    row.emptyText = snapshot.currentTrack ? "—" : kBlank;
  }
  row.emptyTooltip = view.emptyReason.value_or(row.emptyText);
}

}  // namespace

LaneRowText laneRowText(const ViewSnapshot& snapshot, Lane lane, RowForm form) {
  const LaneView& view = snapshot.lane(lane);
  LaneRowText row;
  row.shown = view.shown;
  if (row.shown) {
    fillOption(row, *row.shown, form);
    row.moreOptions = view.options >= 2;
    row.loadShown = snapshot.oneClickLoad;
  } else if (form == RowForm::full) {
    fillFullEmpty(row, snapshot, lane);
  } else {
    fillCardEmpty(row, snapshot, lane);
  }
  return row;
}

}  // namespace kesta::model
