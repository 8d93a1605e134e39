#include "ui/views/library_report_view.h"

#include <QBoxLayout>
#include <QLabel>
#include <QScrollArea>

#include "ui/look/theme.h"
#include "ui/look/wrapping_label.h"
#include "ui/shell/model_bridge.h"
#include "ui/shell/view_refresh.h"
#include "ui/views/bare_layout.h"

namespace kesta::ui {

namespace {

// A scroll area filling `owner`, its column returned.
QWidget* addScroller(QWidget* owner) {
  auto* scroller = new QScrollArea;
  scroller->setFrameShape(QFrame::NoFrame);
  scroller->setWidgetResizable(true);
  scroller->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  auto* column = new QWidget;
  scroller->setWidget(column);
  auto* layout = new QVBoxLayout(owner);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(scroller);
  return column;
}

}  // namespace

LibraryReportView::LibraryReportView(ModelBridge& bridge, QWidget* parent)
    : SheetFrame(QStringLiteral("YOUR LIBRARY"), nullptr, parent),
      bridge_(bridge),
      fileName_(wrappingLabel({}, Theme::font(Theme::kCalloutSize, Theme::Weight::bold), Theme::text())),
      bulletList_(new QVBoxLayout) {
  setWindowTitle(tr("Your library"));
  auto* layout = bareColumn(addScroller(content()), Theme::kReportSpacing);
  layout->addWidget(fileName_);
  bulletList_->setSpacing(Theme::kReportSpacing);
  layout->addLayout(bulletList_);
  auto* closing = wrappingLabel(tr("Sources are reported from what the export contains. Kesta does not "
                                   "connect to any streaming service."),
                                Theme::captionFont(), Theme::muted());
  closing->setContentsMargins(0, Theme::kReportClosingPadding, 0, 0);
  layout->addWidget(closing);
  layout->addStretch(1);

  new ViewRefresh(bridge_, *this, model::kLibraryFields, [this](model::ChangedFields) { refresh(); });
}

void LibraryReportView::refresh() {
  const model::LibraryView& library = bridge_.snapshot().library;
  fileName_->setText(toQString(library.fileName));
  QStringList bullets;
  for (const std::string& note : library.notes) bullets << QStringLiteral("• ") + toQString(note);
  if (library.legacyNote) bullets << QStringLiteral("• ") + toQString(*library.legacyNote);
  if (bullets == bullets_) return;
  bullets_ = bullets;
  while (QLayoutItem* item = bulletList_->takeAt(0)) {
    delete item->widget();
    delete item;
  }
  for (const QString& bullet : bullets_) {
    bulletList_->addWidget(wrappingLabel(bullet, Theme::calloutFont(), Theme::muted()));
  }
}

}  // namespace kesta::ui
