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

// A record the store leaves as it is; this session's saves of it wait in
// memory. The library is only ever a copy of the export, so it is not kept
// for later but read from the export again.
StoreNotice heldNotice(const StoreProblem& problem, const std::string& content) {
  const std::string& file = problem.file;
  const auto later = [&](const std::string& until) {
    if (file == "library.json")
      return std::string(" Your library stays in use; the next start reads it from your export again.");
    return " It keeps this session's changes to " + content + " and saves them once " + until + ".";
  };
  switch (problem.hold) {
    case StoreProblem::Hold::notAFile:
      return {"Something other than a file stands where Kesta keeps " + file +
                  ", so Kesta leaves it as it is." + later("that is gone"),
              file + " is blocked: saving it later."};
    case StoreProblem::Hold::noResources:
      if (file == "library.json") {
        return {"Kesta was short of memory or file handles to read library.json." + later(""),
                "Couldn't read library.json."};
      }
      return {
          "Kesta was short of memory or file handles to read " + file +
              ". It keeps that file whole for the next start, so it won't save this session's changes to " +
              content + ".",
          "Couldn't read " + file + ": it stays whole."};
    case StoreProblem::Hold::unreadable:
      break;
  }
  return {"Kesta can't read " + file + " in its data folder, nor move it aside, so it leaves it as it is." +
              later("it can move the file aside"),
          "Can't read " + file + ": saving it later."};
}

}  // namespace

StoreNotice storeNotice(const StoreProblem& problem) {
  const std::string content = contentOf(problem.file);
  if (problem.kind == StoreProblem::Kind::recordHeld) return heldNotice(problem, content);
  const std::string reason = reasonOf(problem.error);
  return {"Kesta can't save " + content + ": " + reason +
              ". Nothing is lost yet; Kesta keeps trying and saves everything once it can write again.",
          "Not saving: " + reason + "."};
}

}  // namespace kesta::model
