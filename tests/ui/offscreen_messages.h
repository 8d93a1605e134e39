#pragma once

#include <QtGlobal>

namespace kesta::test {

// Qt's messages on standard error as usual, less the offscreen platform's
// notice that it cannot pass size hints to a window manager it does not have.
void quietOffscreenMessages(QtMsgType type, const QMessageLogContext& context, const QString& message);

}  // namespace kesta::test
