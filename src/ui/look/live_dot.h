#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

namespace kesta::ui {

// The connection dot: a small filled circle and a word beside it, muted
// "READY" while not watching, lime "LIVE" while watching, amber "CAN'T SEE"
// while watching with a problem. The problem counts only while on. Updated in
// place; main thread only.
class LiveDot : public QWidget {
  Q_OBJECT

 public:
  struct Look {
    QColor color;
    QString label;
  };
  static Look look(bool on, bool problem);

  explicit LiveDot(bool on = false, bool problem = false, QWidget* parent = nullptr);

  void setState(bool on, bool problem);
  bool isOn() const { return on_; }
  bool hasProblem() const { return problem_; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool on_;
  bool problem_;
};

}  // namespace kesta::ui
