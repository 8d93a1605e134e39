#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "suggest/dj_set.h"

class QVBoxLayout;

namespace kesta::ui {

class ChipButton;
class TextLine;

// One DJ set in the set history: its start as the heading, "CURRENT" for the
// set being recorded, "FROM 0.5" for a set of the earlier version, an
// "Export CSV" chip (disabled while the set is empty) and one row per loaded
// track: time, title, whether it was played and the lane that suggested it.
// Main thread only.
class SetCard : public QWidget {
  Q_OBJECT

 public:
  explicit SetCard(QWidget* parent = nullptr);

  // Shows `set`; the rows are rebuilt only when its entries changed.
  void showSet(const DJSet& set, bool current);

  const std::string& setID() const { return setID_; }
  ChipButton* exportButton() const { return export_; }
  TextLine* heading() const { return heading_; }
  bool showsCurrentMark() const;
  bool showsLegacyMark() const;
  // The row widgets, in order; none while the set is empty.
  std::vector<QWidget*> rows() const { return rows_; }

 signals:
  void exportRequested(const std::string& setID);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void rebuildRows(const std::vector<DJSet::Entry>& entries);

  std::string setID_;
  std::vector<DJSet::Entry> entries_;
  bool shownOnce_ = false;
  TextLine* heading_;
  TextLine* current_;
  TextLine* legacy_;
  ChipButton* export_;
  QVBoxLayout* rowsLayout_;
  TextLine* nothing_;
  std::vector<QWidget*> rows_;
};

}  // namespace kesta::ui
