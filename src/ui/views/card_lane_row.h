#pragma once

#include "ui/views/lane_option_row.h"

namespace kesta::ui {

class LaneLabel;
class TextLine;

// One suggestion lane squeezed into a 32-point line of the corner card: the
// lane's short name, the shown option's title and artist (the reason in the
// tooltip), tempo and key, the load button while one-click load is on, and
// the next-option and hide buttons; an empty lane shows the model's short
// reason. Updated in place from the model; main thread only.
class CardLaneRow : public LaneOptionRow {
  Q_OBJECT

 public:
  CardLaneRow(ModelBridge& bridge, Lane lane, QWidget* parent = nullptr);

  // The parts, for tests and the gallery.
  TextLine* titleLine() const { return title_; }
  TextLine* artistLine() const { return artist_; }
  TextLine* tempoLine() const { return tempo_; }

 protected:
  void fillSuggestion(const model::LaneRowText& row) override;
  QList<QWidget*> optionParts() const override;

 private:
  LaneLabel* label_;
  TextLine* title_;
  TextLine* artist_;
  TextLine* tempo_;
};

}  // namespace kesta::ui
