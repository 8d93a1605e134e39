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

// A record the system lacked the memory or file handles to read is likely
// whole and stays for the next start; the library, a copy of the export, is
// imported again and set aside once the new one is saved.
StoreNotice noResourcesNotice(const std::string& file, const std::string& content) {
  const std::string start = "Kesta was short of memory or file handles to read " + file;
  if (file == "library.json") {
    return {start +
                ", so it imports your library from your export again. Once imported, it is saved as a new "
                "library.json, and the file Kesta couldn't read is set aside.",
            "Couldn't read library.json: importing your export again."};
  }
  if (file == "sets.json") {
    return {start +
                ". It keeps that file whole for the next start and adds no set to it until then: the set "
                "you are playing stays open.",
            "Couldn't read sets.json: the set stays open."};
  }
  return {start +
              ". It keeps that file whole for the next start, so it won't save this session's changes to " +
              content + ".",
          "Couldn't read " + file + ": it stays whole."};
}

// A record the store leaves as it is. The library is only ever a copy of the
// export: it is imported from the export instead. No set moves into held past
// sets, so the running set stays open. Other records' saves wait in memory
// until the file can be moved aside or has gone; those of a file the system
// lacked the resources to read are never written, as it stays for the next start.
StoreNotice heldNotice(const StoreProblem& problem, const std::string& content) {
  const std::string& file = problem.file;
  const auto later = [&](const std::string& until) {
    if (file == "library.json")
      return " Kesta imports your library from your export instead; the first import once " + until +
             " saves it.";
    if (file == "sets.json")
      return " It adds no set to your past sets until " + until + ": the set you are playing stays open.";
    return " It keeps this session's changes to " + content + " and saves them once " + until + ".";
  };
  const auto laterShort = [&](const std::string& start) {
    if (file == "library.json") return start + ": using your export.";
    if (file == "sets.json") return start + ": the set stays open.";
    return start + ": saving it later.";
  };
  switch (problem.hold) {
    case StoreProblem::Hold::notAFile:
      return {"Something other than a file stands where Kesta keeps " + file +
                  ", so Kesta leaves it as it is." + later("that is gone"),
              laterShort(file + " is blocked")};
    case StoreProblem::Hold::noResources:
      return noResourcesNotice(file, content);
    case StoreProblem::Hold::unreadable:
      break;
  }
  return {"Kesta can't read " + file + " in its data folder, nor move it aside, so it leaves it as it is." +
              later("it can move the file aside"),
          laterShort("Can't read " + file)};
}

}  // namespace

StoreNotice storeNotice(const StoreProblem& problem) {
  const std::string content = contentOf(problem.file);
  if (problem.kind == StoreProblem::Kind::recordHeld) return heldNotice(problem, content);
  const std::string reason = reasonOf(problem.error);
  // A library's save is not kept for later: the next import tries again.
  const std::string after =
      problem.file == "library.json"
          ? " The library stays in use; Kesta tries to save it again at the next import."
          : " Nothing is lost yet: Kesta keeps the changes and writes them with the next save that works, "
            "or when you quit if it can write by then.";
  return {"Kesta can't save " + content + ": " + reason + "." + after, "Not saving: " + reason + "."};
}

StoreNotice setKeptRunningNotice() {
  return {
      "Kesta can't end this set: it couldn't read sets.json, where your past sets are kept, and leaves "
      "that file as it is. The set keeps running, and nothing in it is lost.",
      "Set not ended: sets.json couldn't be read."};
}

}  // namespace kesta::model
