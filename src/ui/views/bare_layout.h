#pragma once

class QHBoxLayout;
class QVBoxLayout;
class QWidget;

namespace kesta::ui {

// Box layouts without margins, for the parts of a view that the view's own
// padding already frames. Each is installed on `owner` (which then owns it)
// with `spacing` points between items. Main thread only.
QVBoxLayout* bareColumn(QWidget* owner, int spacing);
QHBoxLayout* bareRow(QWidget* owner, int spacing);

}  // namespace kesta::ui
