#include <QBoxLayout>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>

#include "ui/gallery/plate.h"
#include "ui/look/chip_button.h"
#include "ui/look/icons.h"
#include "ui/look/kesta_mark.h"
#include "ui/look/live_dot.h"
#include "ui/look/section_label.h"
#include "ui/look/sheet_frame.h"
#include "ui/look/status_text.h"
#include "ui/look/theme.h"

namespace kesta::ui::gallery {

namespace {

enum class ChipState { normal, pressed, disabled };

ChipButton* chip(const QString& text, bool prominent, ChipState state) {
  auto* button = new ChipButton(text, prominent);
  button->setDown(state == ChipState::pressed);
  button->setEnabled(state != ChipState::disabled);
  return button;
}

std::vector<QWidget*> chipStates(const QString& text, bool prominent) {
  return {chip(text, prominent, ChipState::normal), chip(text, prominent, ChipState::pressed),
          chip(text, prominent, ChipState::disabled)};
}

ChipButton* symbolChip(const QString& text, Icon icon) {
  auto* button = new ChipButton(text);
  button->setSymbol(icon);
  button->setLabelFont(Theme::font(10, Theme::Weight::semibold));
  return button;
}

// A fixed-size square that shows one symbol, for the icon rows.
class IconSample : public QWidget {
 public:
  IconSample(Icon icon, int size, QColor color, Theme::Weight weight)
      : icon_(icon), color_(std::move(color)), weight_(weight) {
    setFixedSize(size, size);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    paintIcon(painter, icon_, QRectF(rect()), color_, weight_);
  }

 private:
  Icon icon_;
  QColor color_;
  Theme::Weight weight_;
};

// A filled square of one palette colour, named.
QWidget* swatch(const QString& name, const QColor& color) {
  auto* box = new QWidget;
  auto* column = new QVBoxLayout(box);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(4);
  auto* tile = new QFrame;
  tile->setFixedSize(52, 32);
  tile->setFrameShape(QFrame::Box);
  QPalette colours = tile->palette();
  colours.setColor(QPalette::Window, color);
  colours.setColor(QPalette::WindowText, Theme::line());
  tile->setPalette(colours);
  tile->setAutoFillBackground(true);
  column->addWidget(tile);
  auto* label = new QLabel(name);
  label->setFont(Theme::captionFont());
  column->addWidget(label);
  return box;
}

// A status text on a panel-coloured strip, so its fixed frame shows.
QWidget* framedStatus(const QString& text, int lines) {
  auto* status = new StatusText(text, lines);
  status->setFixedWidth(300);
  QPalette colours = status->palette();
  colours.setColor(QPalette::Window, Theme::panel());
  status->setPalette(colours);
  status->setAutoFillBackground(true);
  return status;
}

const std::vector<Icon> kIcons = {
    Icon::waveform, Icon::pictureInPicture, Icon::ellipsisCircle, Icon::checkmark, Icon::star,
    Icon::starFill, Icon::expand,           Icon::reload,         Icon::close};

std::vector<QWidget*> iconRow(int size, const QColor& color, Theme::Weight weight) {
  std::vector<QWidget*> row;
  for (const Icon icon : kIcons) row.push_back(new IconSample(icon, size, color, weight));
  return row;
}

std::unique_ptr<QWidget> chipsPlate() {
  auto plate = std::make_unique<Plate>(QStringLiteral("CHIPS · NORMAL, PRESSED, DISABLED"));
  plate->addRow(QStringLiteral("prominent"), chipStates(QStringLiteral("Connect rekordbox"), true));
  plate->addRow(QStringLiteral("plain"), chipStates(QStringLiteral("Replay tracks"), false));
  plate->addRow(QStringLiteral("short"), {chip(QStringLiteral("Done"), true, ChipState::normal),
                                          chip(QStringLiteral("Undo"), false, ChipState::normal),
                                          chip(QStringLiteral("Set up"), true, ChipState::normal),
                                          chip(QStringLiteral("Stop"), false, ChipState::normal)});
  plate->addRow(QStringLiteral("symbol"), {symbolChip(QStringLiteral("Mini"), Icon::pictureInPicture),
                                           symbolChip(QStringLiteral("Full"), Icon::expand)});
  auto* narrow = new ChipButton(QStringLiteral("Deck 1: A title far too long for its chip"), true);
  narrow->setFixedWidth(150);
  plate->addRow(QStringLiteral("cut"), {narrow});
  return plate;
}

std::unique_ptr<QWidget> liveDotPlate() {
  auto plate = std::make_unique<Plate>(QStringLiteral("LIVE DOT"), 360);
  plate->addRow(QStringLiteral("off"), {new LiveDot(false, false)});
  plate->addRow(QStringLiteral("off, problem"), {new LiveDot(false, true)});
  plate->addRow(QStringLiteral("live"), {new LiveDot(true, false)});
  plate->addRow(QStringLiteral("live, problem"), {new LiveDot(true, true)});
  return plate;
}

std::unique_ptr<QWidget> markAndIconsPlate() {
  auto plate = std::make_unique<Plate>(QStringLiteral("MARK AND SYMBOLS"), 460);
  plate->addRow(QStringLiteral("mark"), {new KestaMark(16), new KestaMark(18), new KestaMark(20),
                                         new KestaMark(24), new KestaMark(48)});
  plate->addRow(QStringLiteral("10 regular"), iconRow(10, Theme::muted(), Theme::Weight::regular));
  plate->addRow(QStringLiteral("16 bold"), iconRow(16, Theme::lime(), Theme::Weight::bold));
  plate->addRow(QStringLiteral("32 regular"), iconRow(32, Theme::text(), Theme::Weight::regular));
  return plate;
}

std::unique_ptr<QWidget> textPlate() {
  const QString longText = QStringLiteral(
      "Connected to rekordbox, but both deck areas have been unreadable for a while: check that the window "
      "is not covered");
  auto plate = std::make_unique<Plate>(QStringLiteral("SECTION LABEL AND STATUS TEXT"));
  plate->addRow(QStringLiteral("section"), {new SectionLabel(QStringLiteral("FOLLOWING YOUR LATEST LOAD"))});
  plate->addRow(QStringLiteral("1 line"), {framedStatus(QStringLiteral("Ready"), 1)});
  plate->addRow(QStringLiteral("1 line, cut"), {framedStatus(longText, 1)});
  plate->addRow(QStringLiteral("2 lines"), {framedStatus(QStringLiteral("Ready"), 2)});
  plate->addRow(QStringLiteral("2 lines, cut"), {framedStatus(longText, 2)});
  return plate;
}

std::unique_ptr<QWidget> palettePlate() {
  auto plate = std::make_unique<Plate>(QStringLiteral("PALETTE"));
  plate->addRow(QStringLiteral("base"), {swatch(QStringLiteral("background"), Theme::background()),
                                         swatch(QStringLiteral("panel"), Theme::panel()),
                                         swatch(QStringLiteral("raised"), Theme::raised()),
                                         swatch(QStringLiteral("line"), Theme::line())});
  plate->addRow(
      QStringLiteral("ink"),
      {swatch(QStringLiteral("lime"), Theme::lime()), swatch(QStringLiteral("muted"), Theme::muted()),
       swatch(QStringLiteral("warn"), Theme::warn()), swatch(QStringLiteral("text"), Theme::text())});
  return plate;
}

std::unique_ptr<QWidget> sheetPlate() {
  auto content = std::make_unique<QLabel>(QStringLiteral(
      "The content of a sheet takes the room below the title row. Every sheet is the same size, whatever "
      "it holds."));
  content->setWordWrap(true);
  content->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  content->setFont(Theme::captionFont());
  QPalette colours = content->palette();
  colours.setColor(QPalette::Window, Theme::panel());
  colours.setColor(QPalette::WindowText, Theme::muted());
  content->setPalette(colours);
  content->setAutoFillBackground(true);
  return std::make_unique<SheetFrame>(QStringLiteral("DIAGNOSTICS"), std::move(content));
}

// A menu and a message box as the dark palette draws them, set in a plate
// (made plain widgets so they can sit side by side).
std::unique_ptr<QWidget> standardWidgetsPlate() {
  auto plate = std::make_unique<Plate>(QStringLiteral("STANDARD WIDGETS IN THE DARK PALETTE"), 640);
  auto* menu = new QMenu;
  menu->setWindowFlags(Qt::Widget);
  menu->addAction(QStringLiteral("Library details…"));
  QAction* checked = menu->addAction(QStringLiteral("Whole collection · 2 314"));
  checked->setCheckable(true);
  checked->setChecked(true);
  menu->addSeparator();
  menu->addAction(QStringLiteral("Save what Kesta sees…"))->setEnabled(false);
  auto* box = new QMessageBox(QMessageBox::Question, QStringLiteral("End set"),
                              QStringLiteral("End this set?"), QMessageBox::Cancel | QMessageBox::Ok);
  box->setInformativeText(QStringLiteral("It is saved to history and a fresh set starts."));
  box->setWindowFlags(Qt::Widget);
  plate->addRow(QStringLiteral("menu, dialog"), {menu, box});
  for (const bool enabled : {true, false}) {
    std::vector<QWidget*> ticks;
    for (const bool ticked : {false, true}) {
      auto* tick = new QCheckBox(QStringLiteral("Include recognised screen text"));
      tick->setFont(Theme::captionFont());
      tick->setChecked(ticked);
      tick->setEnabled(enabled);
      ticks.push_back(tick);
    }
    plate->addRow(enabled ? QStringLiteral("tick boxes") : QStringLiteral("tick boxes, off"), ticks);
  }
  return plate;
}

}  // namespace

std::vector<Shot> lookShots() {
  return {{"look_chips", chipsPlate},
          {"look_live_dot", liveDotPlate},
          {"look_mark_and_symbols", markAndIconsPlate},
          {"look_text", textPlate},
          {"look_palette", palettePlate},
          {"look_sheet_frame", sheetPlate},
          {"look_standard_widgets", standardWidgetsPlate}};
}

}  // namespace kesta::ui::gallery
