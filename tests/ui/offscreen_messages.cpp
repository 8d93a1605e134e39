#include "ui/offscreen_messages.h"

#include <QString>
#include <cstdio>
#include <cstdlib>

namespace kesta::test {

void quietOffscreenMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.contains(QLatin1String("does not support propagateSizeHints"))) return;
  std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
  if (type == QtFatalMsg) std::abort();
}

}  // namespace kesta::test
