#include "model/app_model.h"

namespace kesta::model {

std::string AppModel::status(bool) const { return {}; }
AppModel::CardHeading AppModel::cardHeading() const { return {}; }
bool AppModel::readerProblem() const { return false; }
std::optional<int> AppModel::otherLoadedDeck() const { return std::nullopt; }
std::optional<Track> AppModel::currentTrack() const { return std::nullopt; }
std::optional<Track> AppModel::track(int) const { return std::nullopt; }
std::vector<Track> AppModel::candidates(int) const { return {}; }
void AppModel::flagWrongTrack() {}

}  // namespace kesta::model
