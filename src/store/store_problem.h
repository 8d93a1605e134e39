#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace kesta {

// Something about the data folder the DJ must hear of, because what they
// believe is kept is not being kept.
struct StoreProblem {
  enum class Kind {
    saveFailed,  // a save could not land; the store keeps trying
    recordHeld,  // a record could not be read nor set aside: its saves wait until it can be
  };
  // Why a record is held.
  enum class Hold {
    unreadable,   // no permission or an input/output error, and the folder forbids moving it
    notAFile,     // a folder, FIFO or device stands in its place
    noResources,  // the system was short of memory or file handles to read it
  };
  Kind kind = Kind::saveFailed;
  std::string file;              // the record's file name, such as "userdata.json"
  std::error_code error;         // why the save failed; empty for a held record
  Hold hold = Hold::unreadable;  // why a held record is held

  bool operator==(const StoreProblem&) const = default;
};

// The problems of one store and who hears of them. A failed save that is kept
// to be tried again is told once, and again only after a save has landed in
// between; one that is dropped (the library's, made again at the next import)
// each time; a held record once each time it comes to be held.
// Problems that come before anyone listens are kept and told to the first
// listener. Thread-safe; the listener is called on the thread that met the
// problem, never under the lock.
class StoreProblems {
 public:
  using Listener = std::function<void(const StoreProblem&)>;

  void listen(Listener listener);

  // From now on `file` is neither written nor removed, until it is released.
  void hold(std::string_view file, StoreProblem::Hold why);
  bool isHeld(std::string_view file) const;
  // Why `file` is held; none when it is not.
  std::optional<StoreProblem::Hold> holdOf(std::string_view file) const;
  // What stood in `file`'s place is gone or set aside: it may be written again.
  void release(std::string_view file);

  void saveFailed(std::string_view file, std::error_code error, bool kept = true);
  void saveLanded();

 private:
  void tell(StoreProblem problem, std::unique_lock<std::mutex>& lock);

  mutable std::mutex mutex_;
  Listener listener_;
  std::vector<StoreProblem> untold_;
  std::map<std::string, StoreProblem::Hold, std::less<>> held_;
  bool failing_ = false;
};

}  // namespace kesta
