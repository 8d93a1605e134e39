#include "model/app_model.h"

namespace kesta::model {

void AppModel::restoreLibrary() {}
void AppModel::finishRestore(std::optional<StoredLibrary>, std::optional<LegacyData>) {}
void AppModel::chooseLibraryFile() {}
void AppModel::refreshLibrary() {}
void AppModel::importLibrary(const std::filesystem::path&, bool) {}
void AppModel::install(Library, std::string, std::optional<Date>) {}
std::optional<std::string> AppModel::exportAge() const { return std::nullopt; }
void AppModel::checkForNewerExport() {}
bool AppModel::rekordboxChangedSinceExport() const { return false; }
void AppModel::setExportChangedDuringSet(bool changed) {
  publish(exportChangedDuringSet_, changed, Field::exportChangedDuringSet);
}
void AppModel::setLibraryModifiedAt(std::optional<Date> date) { libraryModifiedAt_ = date; }

}  // namespace kesta::model
