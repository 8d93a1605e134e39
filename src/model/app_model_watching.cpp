#include "model/app_model.h"

namespace kesta::model {

void AppModel::toggleWatching() {}
void AppModel::startWatching() {}
void AppModel::stopWatching() {}
void AppModel::requestScreenPermission() {}
void AppModel::relaunch() {}
void AppModel::finishDiagnostics() {}
void AppModel::prepareToQuit() {}

}  // namespace kesta::model
