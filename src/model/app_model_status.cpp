#include "model/app_model.h"

namespace kesta::model {

std::string AppModel::status(bool) const { return {}; }
AppModel::CardHeading AppModel::cardHeading() const { return {}; }
bool AppModel::readerProblem() const { return false; }
std::optional<int> AppModel::otherLoadedDeck() const { return std::nullopt; }
void AppModel::flagWrongTrack() {}

}  // namespace kesta::model
