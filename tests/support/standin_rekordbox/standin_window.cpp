#include "standin_window.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>
#include <algorithm>
#include <cstdio>

#include "layout.h"

namespace standin {

namespace {

const QColor kWindow{0x0b, 0x0b, 0x0c};

QJsonObject failure(const QString& why) { return QJsonObject{{"error", why}}; }

std::optional<int> deckNumber(const QString& text) {
  bool ok = false;
  const int n = text.toInt(&ok);
  if (ok && (n == 1 || n == 2)) return n;
  return std::nullopt;
}

std::optional<double> number(const QString& text) {
  bool ok = false;
  const double value = text.toDouble(&ok);
  if (ok) return value;
  return std::nullopt;
}

}  // namespace

StandInWindow::StandInWindow(int titleSize) : fonts_(Fonts::forTitleSize(titleSize)), titleSize_(titleSize) {
  setWindowTitle("rekordbox");
  setAttribute(Qt::WA_OpaquePaintEvent);
  ticker_.setInterval(100);
  connect(&ticker_, &QTimer::timeout, this, [this] { update(); });

  search_ = new QLineEdit(this);
  search_->setFrame(false);
  search_->setStyleSheet("QLineEdit { background: #202024; color: #d8d8d8; }");
  connect(search_, &QLineEdit::textChanged, this, [this](const QString& text) {
    browser_.setSearch(text);
    action("search " + text);
    update();
  });
  setFocusPolicy(Qt::ClickFocus);
  // Shortcuts first, before the search box takes Shift+arrows for itself.
  qApp->installEventFilter(this);
}

void StandInWindow::resizeEvent(QResizeEvent*) {
  search_->setGeometry(BrowserPanel::searchArea(size()).toRect());
  QFont font = search_->font();
  font.setPixelSize(std::max(6, search_->height() - 5));
  search_->setFont(font);
}

void StandInWindow::action(const QString& text) {
  actions_.append(text);
  std::fprintf(stderr, "standin: %s\n", text.toUtf8().constData());
  std::fflush(stderr);
}

void StandInWindow::mousePressEvent(QMouseEvent* event) {
  setFocus();
  if (browser_.selectAt(event->position(), size())) {
    action("select " + browser_.describe()["selected"].toString());
    settle();
  }
}

bool StandInWindow::eventFilter(QObject*, QEvent* event) {
  if (event->type() != QEvent::KeyPress || !isActiveWindow()) return false;
  return shortcut(static_cast<const QKeyEvent&>(*event));
}

bool StandInWindow::shortcut(const QKeyEvent& key) {
  const auto modifiers = key.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
  if (modifiers == Qt::ControlModifier && key.key() == Qt::Key_F) {
    search_->setFocus();
    action("focus search");
    return true;
  }
  if (modifiers == Qt::ShiftModifier && (key.key() == Qt::Key_Left || key.key() == Qt::Key_Right)) {
    const int deck = key.key() == Qt::Key_Left ? 1 : 2;
    const auto track = browser_.selected();
    if (!track) {
      action("load deck " + QString::number(deck) + ": nothing selected");
      return true;
    }
    undo_.push_back({deck, decks_[std::size_t(deck - 1)].track()});
    decks_[std::size_t(deck - 1)].load(*track, 0);
    action("load deck " + QString::number(deck) + " " + track->title + " - " + track->artist);
    settle();
    return true;
  }
  if (modifiers == Qt::ControlModifier && key.key() == Qt::Key_Z) {
    if (undo_.empty()) {
      action("undo: nothing to undo");
      return true;
    }
    const Undo last = undo_.back();
    undo_.pop_back();
    DeckPanel& panel = decks_[std::size_t(last.deck - 1)];
    if (last.before) {
      panel.load(*last.before, 0);
    } else {
      panel.clear();
    }
    action("undo load deck " + QString::number(last.deck));
    settle();
    return true;
  }
  return false;
}

QJsonObject StandInWindow::browse(const QString& json) {
  QJsonParseError error;
  const QJsonDocument document = QJsonDocument::fromJson(json.toUtf8(), &error);
  if (!document.isArray()) return failure("browse needs a JSON array of tracks: " + error.errorString());
  QVector<DeckTrack> tracks;
  for (const auto& value : document.array()) {
    const QJsonObject o = value.toObject();
    tracks.push_back({o["title"].toString(), o["artist"].toString(), o["bpm"].toString(), o["key"].toString(),
                      o["duration"].toDouble(300)});
  }
  browser_.setTracks(std::move(tracks));
  return browserState();
}

QJsonObject StandInWindow::browserState() const {
  QJsonObject out = browser_.describe();
  out["actions"] = actions_;
  QJsonArray decks;
  for (int deck = 1; deck <= 2; ++deck) {
    const auto& track = decks_[std::size_t(deck - 1)].track();
    decks.append(track ? QJsonValue(track->title + " - " + track->artist) : QJsonValue());
  }
  out["decks"] = decks;
  return out;
}

QRectF StandInWindow::textColumn(int deck) const {
  const QRectF area = layout::scaled(deck == 1 ? layout::kDeck1 : layout::kDeck2, size());
  const double inset = area.width() * 0.03;
  const double clearance = width() * layout::kMixerClearance;
  if (deck == 1) {
    const double left = area.left() + inset;
    return {left, area.top(), layout::kMixerLeft * width() - clearance - left, area.height()};
  }
  const double left = layout::kMixerRight * width() + clearance;
  return {left, area.top(), area.right() - inset - left, area.height()};
}

void StandInWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), kWindow);
  if (blank_) return;
  for (int deck = 1; deck <= 2; ++deck) {
    decks_[std::size_t(deck - 1)].paint(painter,
                                        layout::scaled(deck == 1 ? layout::kDeck1 : layout::kDeck2, size()),
                                        textColumn(deck), fonts_);
  }
  mixer_.paint(painter, size());
  browser_.paint(painter, size());
}

// Paints now and waits until the X server has drawn it, so that a capture
// made after the answer sees the change.
void StandInWindow::settle() {
  const bool anyPlaying = decks_[0].playing() || decks_[1].playing();
  if (anyPlaying && !ticker_.isActive()) ticker_.start();
  if (!anyPlaying) ticker_.stop();
  if (isVisible()) repaint();
  QGuiApplication::sync();
}

QJsonObject StandInWindow::deckState(int deck) const {
  QJsonObject out = decks_[std::size_t(deck - 1)].describe(fonts_, textColumn(deck).width());
  out["deck"] = deck;
  return out;
}

QJsonObject StandInWindow::load(int deck, const QString& json) {
  QJsonParseError error;
  const QJsonDocument document = QJsonDocument::fromJson(json.toUtf8(), &error);
  if (!document.isObject()) return failure("load needs a JSON object: " + error.errorString());
  const QJsonObject o = document.object();
  DeckTrack track;
  track.title = o["title"].toString();
  track.artist = o["artist"].toString();
  track.bpm = o["bpm"].toString();
  track.key = o["key"].toString();
  track.duration = o["duration"].toDouble(300);
  decks_[std::size_t(deck - 1)].load(std::move(track), o["elapsed"].toDouble(0));
  return deckState(deck);
}

QJsonObject StandInWindow::resizeTo(int width, int height) {
  if (width < 1 || height < 1) return failure("resize needs a positive width and height");
  resize(width, height);
  // Without a window manager the new size arrives with the server's notice.
  QElapsedTimer waited;
  waited.start();
  while (size() != QSize(width, height) && waited.elapsed() < 3000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return QJsonObject{{"width", this->width()}, {"height", this->height()}};
}

QJsonObject StandInWindow::run(const QString& command) {
  const QString verb = command.section(' ', 0, 0, QString::SectionSkipEmpty);
  const QStringList args =
      command.section(' ', 1, -1, QString::SectionSkipEmpty).split(' ', Qt::SkipEmptyParts);
  QJsonObject out;

  if (verb == "load" || verb == "clear" || verb == "play" || verb == "stop" || verb == "seek" ||
      verb == "deck") {
    const auto deck = args.isEmpty() ? std::nullopt : deckNumber(args[0]);
    if (!deck) return failure(verb + " needs a deck number, 1 or 2");
    DeckPanel& panel = decks_[std::size_t(*deck - 1)];
    if (verb == "load") {
      out = load(*deck, command.section(' ', 2, -1, QString::SectionSkipEmpty));
      if (out.contains("error")) return out;
    } else if (verb == "clear") {
      panel.clear();
    } else if (verb == "play") {
      panel.play();
    } else if (verb == "stop") {
      panel.stop();
    } else if (verb == "seek") {
      const auto seconds = args.size() == 2 ? number(args[1]) : std::nullopt;
      if (!seconds) return failure("seek needs a deck and a time in seconds");
      panel.seek(*seconds);
    }
    settle();
    out = deckState(*deck);
  } else if (verb == "browse") {
    out = browse(command.section(' ', 1, -1, QString::SectionSkipEmpty));
    if (out.contains("error")) return out;
    settle();
  } else if (verb == "browser") {
    out = browserState();
  } else if (verb == "fader") {
    const auto channel = args.size() == 2 ? deckNumber(args[0]) : std::nullopt;
    const auto value = args.size() == 2 ? number(args[1]) : std::nullopt;
    if (!channel || !value) return failure("fader needs a channel (1 or 2) and a value from 0 to 1");
    mixer_.setFader(*channel, *value);
    settle();
    out = QJsonObject{{"channel", *channel}, {"fader", mixer_.fader(*channel)}};
  } else if (verb == "eq") {
    const QString usage = "eq needs a channel, high, mid or low, and a value from -1 to 1";
    if (args.size() != 3) return failure(usage);
    const auto channel = deckNumber(args[0]);
    const auto band = MixerPanel::band(args[1]);
    const auto value = number(args[2]);
    if (!channel || !band || !value) return failure(usage);
    mixer_.setEq(*channel, band.value(), *value);
    settle();
    out = QJsonObject{{"channel", *channel}, {"band", args[1]}, {"eq", mixer_.eq(*channel, band.value())}};
  } else if (verb == "font") {
    const auto pixels = args.size() == 1 ? number(args[0]) : std::nullopt;
    if (!pixels || *pixels < 6 || *pixels > 96) return failure("font needs a title size in pixels, 6 to 96");
    titleSize_ = int(*pixels);
    fonts_ = Fonts::forTitleSize(titleSize_);
    settle();
    out = QJsonObject{{"titleSize", titleSize_}};
  } else if (verb == "resize") {
    const auto w = args.size() == 2 ? number(args[0]) : std::nullopt;
    const auto h = args.size() == 2 ? number(args[1]) : std::nullopt;
    if (!w || !h) return failure("resize needs a width and a height in pixels");
    out = resizeTo(int(*w), int(*h));
    if (out.contains("error")) return out;
    settle();
  } else if (verb == "move") {
    const auto x = args.size() == 2 ? number(args[0]) : std::nullopt;
    const auto y = args.size() == 2 ? number(args[1]) : std::nullopt;
    if (!x || !y) return failure("move needs an x and a y in pixels");
    move(int(*x), int(*y));
    settle();
    out = QJsonObject{{"x", pos().x()}, {"y", pos().y()}};
  } else if (verb == "blank") {
    if (args.size() != 1 || (args[0] != "on" && args[0] != "off")) return failure("blank needs on or off");
    blank_ = args[0] == "on";
    settle();
    out = QJsonObject{{"blank", blank_}};
  } else if (verb == "hide") {
    hide();
    settle();
  } else if (verb == "show") {
    show();
    QElapsedTimer waited;
    waited.start();
    while (!windowHandle()->isExposed() && waited.elapsed() < 3000) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    settle();
  } else if (verb == "quit") {
    QCoreApplication::quit();
  } else {
    return failure("unknown command: " + verb);
  }
  out["ok"] = verb;
  return out;
}

}  // namespace standin
