#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QPainter>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QVector>
#include <optional>

#include "deck_panel.h"

namespace standin {

// The track browser: the collection's rows filtered by the search text, and
// the one selected row. It draws the rows; the search box is a child widget
// of the window.
class BrowserPanel {
 public:
  // Replaces the collection; the selection is dropped.
  void setTracks(QVector<DeckTrack> tracks);
  // Filters the rows by `text` (title or artist containing it, in any case);
  // the selection is dropped when the shown rows change.
  void setSearch(const QString& text);

  // Selects the shown row at window point `at`; false when no row is there.
  bool selectAt(QPointF at, QSize window);
  std::optional<DeckTrack> selected() const;

  void paint(QPainter& painter, QSize window) const;

  // Where the rows are drawn: below the mixer, in the window's lower part.
  static QRectF rowsArea(QSize window);
  // Where the search box sits: just above the rows' part of the window.
  static QRectF searchArea(QSize window);

  // The search text, the shown rows and the selection, for the replies.
  QJsonObject describe() const;

 private:
  QVector<int> shown_;  // indices into tracks_, in collection order
  QVector<DeckTrack> tracks_;
  QString search_;
  std::optional<int> selected_;  // index into shown_
};

}  // namespace standin
