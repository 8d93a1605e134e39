#include "browser_panel.h"

#include <QFont>
#include <cmath>
#include <utility>

namespace standin {

namespace {

const QColor kRow{0x16, 0x16, 0x18};
const QColor kRowShaded{0x1d, 0x1d, 0x20};
const QColor kText{0xd8, 0xd8, 0xd8};
// The selected row shows in bright blue letters: a filled highlight band
// would hide its text from the recogniser.
const QColor kTextSelected{0x9a, 0xd0, 0xff};

constexpr double kRowHeight = 0.03;  // fraction of the window height
constexpr int kMaxRows = 12;

struct Column {
  double left;
  double width;
};
constexpr Column kTitle{0.03, 0.32};
constexpr Column kArtist{0.37, 0.22};
constexpr Column kBpm{0.62, 0.07};
constexpr Column kKey{0.72, 0.05};
constexpr Column kTime{0.80, 0.07};

QString clock(double seconds) {
  const int whole = int(std::lround(seconds));
  return QString("%1:%2").arg(whole / 60).arg(whole % 60, 2, 10, QChar('0'));
}

}  // namespace

QRectF BrowserPanel::rowsArea(QSize window) {
  return {0, 0.62 * window.height(), double(window.width()), 0.38 * window.height()};
}

QRectF BrowserPanel::searchArea(QSize window) {
  return {0.03 * window.width(), 0.382 * window.height(), 0.25 * window.width(), 0.017 * window.height()};
}

void BrowserPanel::setTracks(QVector<DeckTrack> tracks) {
  tracks_ = std::move(tracks);
  setSearch(search_);
  selected_.reset();
}

void BrowserPanel::setSearch(const QString& text) {
  search_ = text;
  QVector<int> shown;
  for (int i = 0; i < tracks_.size(); ++i) {
    const auto& track = tracks_[i];
    if (text.isEmpty() || track.title.contains(text, Qt::CaseInsensitive) ||
        track.artist.contains(text, Qt::CaseInsensitive)) {
      shown.push_back(i);
    }
  }
  if (shown.size() > kMaxRows) shown.resize(kMaxRows);
  if (shown != shown_) selected_.reset();
  shown_ = std::move(shown);
}

bool BrowserPanel::selectAt(QPointF at, QSize window) {
  const QRectF area = rowsArea(window);
  if (!area.contains(at)) return false;
  const int row = int((at.y() - area.top()) / (kRowHeight * window.height()));
  if (row < 0 || row >= shown_.size()) return false;
  selected_ = row;
  return true;
}

std::optional<DeckTrack> BrowserPanel::selected() const {
  if (!selected_) return std::nullopt;
  return tracks_[shown_[*selected_]];
}

void BrowserPanel::paint(QPainter& painter, QSize window) const {
  const QRectF area = rowsArea(window);
  const double rowHeight = kRowHeight * window.height();
  QFont font("DejaVu Sans");
  font.setPixelSize(std::max(8, int(rowHeight * 0.5)));
  painter.setFont(font);
  for (int row = 0; row < shown_.size(); ++row) {
    const DeckTrack& track = tracks_[shown_[row]];
    const double top = area.top() + row * rowHeight;
    painter.fillRect(QRectF(0, top, window.width(), rowHeight), row % 2 ? kRowShaded : kRow);
    painter.setPen(selected_ == row ? kTextSelected : kText);
    const auto cell = [&](const Column& column, const QString& text) {
      painter.drawText(QRectF(column.left * window.width(), top, column.width * window.width(), rowHeight),
                       Qt::AlignLeft | Qt::AlignVCenter, text);
    };
    cell(kTitle, track.title);
    cell(kArtist, track.artist);
    cell(kBpm, track.bpm);
    cell(kKey, track.key);
    cell(kTime, clock(track.duration));
  }
}

QJsonObject BrowserPanel::describe() const {
  QJsonArray rows;
  for (const int i : shown_) rows.append(tracks_[i].title + " - " + tracks_[i].artist);
  QJsonObject out{{"search", search_}, {"rows", rows}};
  if (const auto track = selected()) out["selected"] = track->title + " - " + track->artist;
  return out;
}

}  // namespace standin
