#include "model/app_model.h"

namespace kesta::model {

LoadDecision AppModel::loadDecision(const Suggestion&) const {
  return LoadDecision::refused("Connect to rekordbox first.");
}
void AppModel::load(const Suggestion&) {}
void AppModel::undoLoad() {}
void AppModel::allowOneClick() {}
void AppModel::dismissLoadStatus() { setLoadStatus(LoadStatus::idle()); }
void AppModel::fail(std::string, std::optional<std::string>) {}
void AppModel::verifyLoad(const Track&, int, DeckContent, int) {}

}  // namespace kesta::model
