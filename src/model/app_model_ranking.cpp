#include "model/app_model.h"

namespace kesta::model {

void AppModel::scheduleRanking() {}
void AppModel::poolChanged(const std::string&) {}
std::set<std::string> AppModel::selectedPlaylistIDs() const { return {}; }
void AppModel::togglePlaylist(const std::string&) {}
std::string AppModel::poolLabel() const { return {}; }
std::optional<Suggestion> AppModel::suggestion(Lane) const { return std::nullopt; }
int AppModel::alternatives(Lane) const { return 0; }
std::optional<std::string> AppModel::emptyReason(Lane) const { return std::nullopt; }
std::optional<std::string> AppModel::emptyShort(Lane) const { return std::nullopt; }
int AppModel::rating(const Track&) const { return 0; }
bool AppModel::canReplay() const { return false; }
void AppModel::nextOption(Lane) {}
void AppModel::dismiss(const Suggestion&) {}
void AppModel::undoDismiss() {}
void AppModel::rate(const Track&, int) {}
void AppModel::replayTracks() {}
void AppModel::endSet() {}

}  // namespace kesta::model
