#include "model/app_model.h"

namespace kesta::model {

void AppModel::apply(const EngineUpdate&) {}
void AppModel::follow(int, FocusKind) {}
void AppModel::identify(int, const Track&) {}
void AppModel::rememberFocus() {}
void AppModel::saveDiagnostics() {}
void AppModel::syncSet() {}

}  // namespace kesta::model
