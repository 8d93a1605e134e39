#include "ui/views/meta_line.h"

#include <QCoreApplication>

namespace kesta::ui {

QString metaLine(const Track& track) {
  return QCoreApplication::translate("kesta::ui::metaLine", "%1 BPM · %2")
      .arg(QString::fromStdString(track.displayBPM()), QString::fromStdString(track.displayKey()));
}

}  // namespace kesta::ui
