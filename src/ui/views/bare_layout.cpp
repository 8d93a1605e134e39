#include "ui/views/bare_layout.h"

#include <QBoxLayout>

namespace kesta::ui {

namespace {

template <class Layout>
Layout* bare(QWidget* owner, int spacing) {
  auto* layout = new Layout(owner);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(spacing);
  return layout;
}

}  // namespace

QVBoxLayout* bareColumn(QWidget* owner, int spacing) { return bare<QVBoxLayout>(owner, spacing); }

QHBoxLayout* bareRow(QWidget* owner, int spacing) { return bare<QHBoxLayout>(owner, spacing); }

}  // namespace kesta::ui
