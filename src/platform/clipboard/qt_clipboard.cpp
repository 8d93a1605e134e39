#include "platform/clipboard/qt_clipboard.h"

#include <QByteArray>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QObject>
#include <QString>
#include <QThread>
#include <functional>
#include <utility>
#include <vector>

namespace kesta {

namespace {

// Runs `work` on `home`'s thread and waits for it.
void onHomeThread(QObject& home, const std::function<void()>& work) {
  if (QThread::currentThread() == home.thread()) {
    work();
    return;
  }
  QMetaObject::invokeMethod(&home, work, Qt::BlockingQueuedConnection);
}

}  // namespace

QtClipboard::QtClipboard() : home_(std::make_unique<QObject>()) {
  home_->moveToThread(QGuiApplication::instance()->thread());
}

QtClipboard::~QtClipboard() = default;

ClipboardContents QtClipboard::contents() {
  ClipboardContents contents;
  onHomeThread(*home_, [&] {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || data->formats().isEmpty()) return;
    ClipboardItem item;
    for (const QString& format : data->formats()) {
      const QByteArray bytes = data->data(format);
      item[format.toStdString()] = std::vector<std::uint8_t>(bytes.begin(), bytes.end());
    }
    contents.push_back(std::move(item));
  });
  return contents;
}

void QtClipboard::setText(const std::string& text) {
  onHomeThread(*home_, [&] { QGuiApplication::clipboard()->setText(QString::fromStdString(text)); });
}

void QtClipboard::setContents(const ClipboardContents& contents) {
  onHomeThread(*home_, [&] {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (contents.empty()) {
      clipboard->clear();
      return;
    }
    auto data = std::make_unique<QMimeData>();
    for (const auto& item : contents) {
      for (const auto& [format, bytes] : item) {
        data->setData(QString::fromStdString(format),
                      QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
      }
    }
    clipboard->setMimeData(data.release());
  });
}

}  // namespace kesta
