#include "model/prepared_library.h"

#include <utility>

namespace kesta::model {

PreparedLibrary PreparedLibrary::prepare(Library library, std::string xmlPath, std::optional<Date> modifiedAt,
                                         bool withRatingTargets) {
  auto shared = std::make_shared<const Library>(std::move(library));
  LibraryIndex index(shared);
  auto songKeys = LiveEngine::songKeysOf(index);
  auto poolChoices = shared->poolChoices();
  auto targets =
      withRatingTargets ? std::make_shared<const LegacyMigration::RatingTargets>(*shared) : nullptr;
  return {std::move(shared),  std::move(index), std::move(songKeys), std::move(poolChoices),
          std::move(xmlPath), modifiedAt,       std::move(targets)};
}

}  // namespace kesta::model
