#include "model/app_model_actions.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "model/app_model.h"

namespace kesta::model {

AppModelActions::AppModelActions(std::shared_ptr<AppModel> model, std::shared_ptr<AppStore> store,
                                 std::shared_ptr<UrlOpener> urls)
    : model_(std::move(model)), store_(std::move(store)), urls_(std::move(urls)) {}

void AppModelActions::toggleWatching() { model_->toggleWatching(); }
void AppModelActions::requestScreenPermission() { model_->requestScreenPermission(); }
void AppModelActions::relaunch() { model_->relaunch(); }
void AppModelActions::allowOneClick() { model_->allowOneClick(); }
void AppModelActions::chooseLibraryFile() { model_->chooseLibraryFile(); }
void AppModelActions::refreshLibrary() { model_->refreshLibrary(); }

// The switches echo the model's own value back when it is shown: only a real
// change reaches the model.
void AppModelActions::setOneClickLoad(bool on) {
  if (on != model_->oneClickLoad()) model_->setOneClickLoad(on);
}

void AppModelActions::setIncludeRawText(bool include) {
  if (include != model_->includeRawText()) model_->setIncludeRawText(include);
}

void AppModelActions::setPoolID(const std::string& poolID) { model_->setPoolID(poolID); }
void AppModelActions::togglePlaylist(const std::string& id) { model_->togglePlaylist(id); }
void AppModelActions::follow(int deck) { model_->follow(deck, FocusKind::userChoice); }
void AppModelActions::identify(int deck, const Track& track) { model_->identify(deck, track); }
void AppModelActions::flagWrongTrack() { model_->flagWrongTrack(); }
void AppModelActions::rate(const Track& track, int stars) { model_->rate(track, stars); }
void AppModelActions::nextOption(Lane lane) { model_->nextOption(lane); }
void AppModelActions::dismiss(const Suggestion& suggestion) { model_->dismiss(suggestion); }
void AppModelActions::undoDismiss() { model_->undoDismiss(); }

LoadDecision AppModelActions::loadDecision(const Suggestion& suggestion) const {
  return model_->loadDecision(suggestion);
}

void AppModelActions::load(const Suggestion& suggestion) { model_->load(suggestion); }
void AppModelActions::undoLoad() { model_->undoLoad(); }
void AppModelActions::replayTracks() { model_->replayTracks(); }
void AppModelActions::endSet() { model_->endSet(); }
void AppModelActions::exportSet(const DJSet& set) { model_->exportSet(set); }
std::string AppModelActions::diagnosticsReport() const { return model_->diagnosticsReport(); }
void AppModelActions::exportDiagnostics() { model_->exportDiagnostics(); }
void AppModelActions::saveDeckView() { model_->saveDeckView(); }

void AppModelActions::openDiagnosticsFolder(FolderFailed failed) {
  model_->saveDiagnostics();
  const std::filesystem::path folder = store_->diagnosticsFolder();
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
  // The path is copied: the answer may come after these actions are gone.
  urls_->open(folder.string(), [path = folder.string(), failed = std::move(failed)](bool opened) {
    // No file browser took it: say where the folder is, so the DJ can find it.
    if (!opened && failed) failed("Couldn't open a file browser. Diagnostics are saved in " + path + ".");
  });
}

}  // namespace kesta::model
