#pragma once

#include "ui/views/lane_option_row.h"

namespace kesta::ui {

class LaneLabel;
class TextLine;

// One suggestion lane of the full window, 58 points high: the lane's name,
// the option the model shows in it (title, artist and reason, caveat), the
// load button while one-click load is on, tempo and key, and the buttons for
// the lane's next option and for hiding the track. An empty lane shows why.
// Updated in place from the model; main thread only.
class LaneRow : public LaneOptionRow {
  Q_OBJECT

 public:
  LaneRow(ModelBridge& bridge, Lane lane, QWidget* parent = nullptr);

  // The parts, for tests and the gallery.
  TextLine* titleLine() const { return title_; }
  TextLine* detailLine() const { return detail_; }
  TextLine* caveatLine() const { return caveat_; }
  TextLine* bpmLine() const { return bpm_; }
  TextLine* keyLine() const { return key_; }

 protected:
  void fillSuggestion(const model::LaneRowText& row) override;
  QList<QWidget*> optionParts() const override { return {tempo_, buttons_}; }

 private:
  LaneLabel* label_;
  TextLine* title_;
  TextLine* detail_;
  TextLine* caveat_;
  QWidget* tempo_;
  TextLine* bpm_;
  TextLine* key_;
  QWidget* buttons_;
};

}  // namespace kesta::ui
