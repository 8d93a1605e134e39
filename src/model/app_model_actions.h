#pragma once

#include <memory>

#include "model/model_actions.h"
#include "model/ports/url_opener.h"
#include "store/app_store.h"

// The windows' actions carried out by the app model, with the diagnostics
// folder opened through the store and the URL port the model was given.
// Main thread only, like the model.
namespace kesta::model {

class AppModel;

class AppModelActions : public ModelActions {
 public:
  AppModelActions(std::shared_ptr<AppModel> model, std::shared_ptr<AppStore> store,
                  std::shared_ptr<UrlOpener> urls);

  void toggleWatching() override;
  void requestScreenPermission() override;
  void relaunch() override;
  void allowOneClick() override;
  void chooseLibraryFile() override;
  void refreshLibrary() override;
  void setOneClickLoad(bool on) override;
  void setIncludeRawText(bool include) override;
  void setPoolID(const std::string& poolID) override;
  void togglePlaylist(const std::string& id) override;
  void follow(int deck) override;
  void identify(int deck, const Track& track) override;
  void flagWrongTrack() override;
  void rate(const Track& track, int stars) override;
  void nextOption(Lane lane) override;
  void dismiss(const Suggestion& suggestion) override;
  void undoDismiss() override;
  LoadDecision loadDecision(const Suggestion& suggestion) const override;
  void load(const Suggestion& suggestion) override;
  void undoLoad() override;
  void replayTracks() override;
  void endSet() override;
  void exportSet(const DJSet& set) override;
  std::string diagnosticsReport() const override;
  void exportDiagnostics() override;
  void saveDeckView() override;
  void openDiagnosticsFolder(FolderFailed failed) override;

 private:
  std::shared_ptr<AppModel> model_;
  std::shared_ptr<AppStore> store_;
  std::shared_ptr<UrlOpener> urls_;
};

}  // namespace kesta::model
