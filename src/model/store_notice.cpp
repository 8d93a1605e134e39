#include "model/store_notice.h"

#include <cerrno>
#include <string_view>

namespace kesta::model {
namespace {

// What a record holds, as the DJ knows it.
std::string contentOf(std::string_view file) {
  if (file == "preferences.json") return "your settings";
  if (file == "userdata.json") return "your ratings and played pairs";
  if (file == "active-set.json") return "the set you are playing";
  if (file == "sets.json") return "your past sets";
  if (file == "library.json") return "your library";
  if (file == "legacy-import.json") return "what came over from Kesta 0.5";
  return "your data";
}

std::string reasonOf(const std::error_code& error) {
  if (error.category() != std::generic_category() && error.category() != std::system_category())
    return "the disk refused it";
  switch (error.value()) {
    case ENOSPC:
    case EDQUOT:
      return "the disk is full";
    case EROFS:
      return "the data folder is read-only";
    case EACCES:
    case EPERM:
      return "Kesta may not write in its data folder";
    case EFBIG:
      return "it is too large to keep";
    case EMFILE:
      return "Kesta has too many files open";
    case ENFILE:
      return "the system has too many files open";
    default:
      return "the disk refused it";
  }
}

}  // namespace

StoreNotice storeNotice(const StoreProblem& problem) {
  const std::string content = contentOf(problem.file);
  if (problem.kind == StoreProblem::Kind::recordHeld) {
    return {"Kesta can't read " + problem.file +
                " in its data folder, nor move it aside, so it leaves it as it is and won't save " + content +
                " this session. Check the file's permissions.",
            "Can't read " + problem.file + ": not saving it."};
  }
  const std::string reason = reasonOf(problem.error);
  return {"Kesta can't save " + content + ": " + reason +
              ". Nothing is lost yet; Kesta keeps trying and saves everything once it can write again.",
          "Not saving: " + reason + "."};
}

}  // namespace kesta::model
