#include "model/app_model.h"

namespace kesta::model {

std::optional<Point> AppModel::savedTopLeft(const std::string&) const { return std::nullopt; }
void AppModel::saveTopLeft(Point, const std::string&) {}
AppModel::ReportSession AppModel::reportSession() const { return {diagnosticsSession_, false}; }
std::string AppModel::diagnosticsReport() const { return {}; }
void AppModel::exportDiagnostics() {}
void AppModel::exportSet(const DJSet&) {}
void AppModel::saveDeckView() {}

}  // namespace kesta::model
