#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QString>
#include <string>

#include "model/load_button_state.h"
#include "model/load_status.h"
#include "oneclick/load_decision.h"
#include "suggest/suggestion.h"
#include "ui/shell/model_bridge.h"

namespace kesta::ui {

// The one-click load button beside a suggestion: "Load→D<n>" when the track
// may go onto deck n, "Load→D<n>?" when deck n is still playing (the first
// of two clicks), "Load" when refused, "…" while this very track loads. A
// click asks the model to load the suggestion; the model decides again and
// counts the clicks. Updated in place from the model; main thread only.
class LoadButton : public QAbstractButton {
  Q_OBJECT

 public:
  // What the button shows, in Qt's terms.
  struct Look {
    using Fill = model::LoadButtonState::Fill;

    QString title;
    // The decision's label, which the button keeps room for while busy, so
    // that nothing beside it moves.
    QString restingTitle;
    bool enabled = false;
    Fill fill = Fill::raised;
    QString tooltip;

    friend bool operator==(const Look&, const Look&) = default;
  };

  // The look for the decision about the track with id `trackID` while the
  // model's load status is `status`.
  static Look look(const LoadDecision& decision, const model::LoadStatus& status, const std::string& trackID);
  static QColor fillColor(Look::Fill fill);
  static QColor labelColor(Look::Fill fill);

  LoadButton(ModelBridge& bridge, Suggestion suggestion, QWidget* parent = nullptr);

  const Suggestion& suggestion() const { return suggestion_; }
  // Shows another suggestion (the lane moved on).
  void setSuggestion(Suggestion suggestion);
  const Look& currentLook() const { return look_; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void refresh();

  ModelBridge& bridge_;
  Suggestion suggestion_;
  Look look_;
};

}  // namespace kesta::ui
