#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "library/track.h"
#include "model/now_playing_text.h"
#include "ui/shell/model_bridge.h"

class QHBoxLayout;

namespace kesta::ui {

class ChipButton;
class TextLine;

// The followed track in the full window, always two rows in 42 points: the
// title with artist, tempo, key and deck; or, for an ambiguous deck, the
// question which version it holds with a chip for each of the first three
// candidates, labelled with what sets the versions apart; or a line saying
// why nothing is shown. A chip names the version to the model. Updated in place from the model; main thread
// only.
class NowPlaying : public QWidget {
  Q_OBJECT

 public:
  explicit NowPlaying(ModelBridge& bridge, QWidget* parent = nullptr);

  // The parts, for tests and the gallery.
  TextLine* headline() const { return headline_; }
  TextLine* readout() const { return readout_; }
  // The version chips now shown, in order.
  std::vector<ChipButton*> versionChips() const;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void refresh();
  // The headline in `fontSize` and `color`, under it the readout or the version chips.
  void showHeadline(const model::NowPlayingText& shown, qreal fontSize, const QColor& color);
  // Rebuilds the chips only when the versions' ids changed.
  void setChips(int deck, const std::vector<Track>& shown);

  ModelBridge& bridge_;
  TextLine* headline_;
  TextLine* readout_;
  QWidget* chipRow_;
  QHBoxLayout* chipLayout_;
  std::vector<Track> chipTracks_;
  int chipDeck_ = 0;
};

}  // namespace kesta::ui
