#include "ui/views/diagnostics_view.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <functional>

#include "ui/look/chip_button.h"
#include "ui/look/theme.h"
#include "ui/shell/model_bridge.h"
#include "ui/shell/view_refresh.h"
#include "ui/views/bare_layout.h"

namespace kesta::ui {

namespace {

using model::Field;

constexpr model::ChangedFields kShownFields = model::ChangedFields(Field::watching) | Field::includeRawText;

// The folder notice's height in lines: a long path wraps onto the third.
constexpr int kFolderNoticeLines = 3;

}  // namespace

DiagnosticsView::DiagnosticsView(ModelBridge& bridge, QWidget* parent)
    : SheetFrame(QStringLiteral("DIAGNOSTICS"), nullptr, parent),
      bridge_(bridge),
      rawText_(new QCheckBox(tr("Include recognised screen text (helps fix detection problems)"))),
      report_(new QPlainTextEdit) {
  setWindowTitle(tr("Diagnostics"));
  auto* intro = new QLabel(
      tr("Saved automatically on this computer while Kesta runs and when you quit. Timings and "
         "counts only; track names, file paths and screen text are left out unless you turn on the "
         "option below."));
  intro->setWordWrap(true);
  intro->setFont(Theme::captionFont());
  QPalette muted = intro->palette();
  muted.setColor(QPalette::WindowText, Theme::muted());
  intro->setPalette(muted);

  rawText_->setFont(Theme::captionFont());
  rawText_->setFocusPolicy(Qt::NoFocus);
  connect(rawText_, &QCheckBox::toggled, this, [this](bool on) {
    acted();
    bridge_.actions().setIncludeRawText(on);
  });

  report_->setReadOnly(true);
  report_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  report_->setFont(Theme::monospacedFont(Theme::kDiagnosticsFontSize));
  report_->setFrameShape(QFrame::NoFrame);
  report_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  QPalette panel = report_->palette();
  panel.setColor(QPalette::Base, Theme::panel());
  panel.setColor(QPalette::Text, Theme::text());
  report_->setPalette(panel);

  auto* column = bareColumn(content(), Theme::kSheetSpacing);
  column->addWidget(intro);
  column->addWidget(rawText_);
  column->addWidget(report_, 1);
  column->addWidget(makeButtons());
  makeFolderNotice();
  column->addWidget(folderNotice_);

  new ViewRefresh(bridge_, *this, kShownFields, [this](model::ChangedFields) { refresh(); });
}

QWidget* DiagnosticsView::makeButtons() {
  auto* row = new QWidget;
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  refresh_ = new ChipButton(tr("Refresh"));
  saveReport_ = new ChipButton(tr("Save report…"), true);
  saveDeckView_ = new ChipButton(tr("Save what Kesta sees…"));
  saveDeckView_->setToolTip(
      tr("Saves an image of the two deck areas Kesta reads, to help fix detection on your layout. It shows "
         "loaded "
         "titles; nothing is sent."));
  openFolder_ = new ChipButton(tr("Open diagnostics folder"));
  // Each press is an action of the DJ's, told before the press's own work.
  const auto press = [this](ChipButton* chip, std::function<void()> work) {
    connect(chip, &ChipButton::clicked, this, [this, work = std::move(work)] {
      acted();
      work();
    });
  };
  press(refresh_, [this] { readReport(); });
  press(saveReport_, [this] { bridge_.actions().exportDiagnostics(); });
  press(saveDeckView_, [this] { bridge_.actions().saveDeckView(); });
  press(openFolder_, [this] { openFolder(); });
  // The four chips fit the sheet's width only a point smaller than usual.
  for (ChipButton* chip : {refresh_, saveReport_, saveDeckView_}) {
    chip->setLabelFont(Theme::font(Theme::kDiagnosticsButtonFontSize, Theme::Weight::semibold));
    layout->addWidget(chip);
  }
  layout->addStretch(1);
  openFolder_->setLabelFont(Theme::font(Theme::kDiagnosticsButtonFontSize, Theme::Weight::semibold));
  layout->addWidget(openFolder_);
  return row;
}

void DiagnosticsView::makeFolderNotice() {
  folderNotice_ = new QPlainTextEdit;
  folderNotice_->setReadOnly(true);
  folderNotice_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  folderNotice_->setFont(Theme::captionFont());
  folderNotice_->setFrameShape(QFrame::NoFrame);
  // A path has no blanks to wrap at: it wraps anywhere rather than run off the sheet.
  folderNotice_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  folderNotice_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  folderNotice_->document()->setDocumentMargin(0);
  folderNotice_->setFixedHeight(QFontMetrics(folderNotice_->font()).lineSpacing() * kFolderNoticeLines);
  QPalette colours = folderNotice_->palette();
  colours.setColor(QPalette::Base, Theme::background());
  colours.setColor(QPalette::Text, Theme::warn());
  folderNotice_->setPalette(colours);
  folderNotice_->hide();
}

void DiagnosticsView::acted() {
  ++actions_;
  folderNotice_->clear();
  folderNotice_->hide();
}

void DiagnosticsView::openFolder() {
  // The answer comes later: it is shown only on this sheet, while still open,
  // and only when the DJ has done nothing since.
  bridge_.actions().openDiagnosticsFolder(
      [sheet = QPointer<DiagnosticsView>(this), action = actions_](const std::string& notice) {
        if (!sheet || sheet->actions_ != action) return;
        sheet->folderNotice_->setPlainText(toQString(notice));
        sheet->folderNotice_->show();
      });
}

QString DiagnosticsView::folderNotice() const { return folderNotice_->toPlainText(); }

QString DiagnosticsView::report() const { return report_->toPlainText(); }

void DiagnosticsView::showEvent(QShowEvent* event) {
  SheetFrame::showEvent(event);
  readReport();
}

void DiagnosticsView::readReport() {
  report_->setPlainText(toQString(bridge_.actions().diagnosticsReport()));
}

void DiagnosticsView::refresh() {
  const model::ViewSnapshot& snapshot = bridge_.snapshot();
  saveDeckView_->setEnabled(snapshot.watching);
  const QSignalBlocker quiet(rawText_);
  rawText_->setChecked(snapshot.includeRawText);
}

}  // namespace kesta::ui
