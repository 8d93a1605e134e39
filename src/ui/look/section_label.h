#pragma once

#include <QLabel>

namespace kesta::ui {

// A section caption: the text as given (never translated), small, bold,
// widely tracked, in lime. Main thread only.
class SectionLabel : public QLabel {
 public:
  explicit SectionLabel(const QString& text, QWidget* parent = nullptr);
};

}  // namespace kesta::ui
