#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/serial_queue.h"
#include "store/store_files.h"
#include "store/store_problem.h"

namespace kesta {

// Writes whole files of one folder on its own thread ("kesta.records.write"),
// so that the caller never waits for the disk. Each write is atomic and
// durable (AtomicFile), and the folder is created again when it has gone.
//
// Saves land in the order they were made, so what is on disk is always what
// the caller saved up to some moment: a file saved after another never lands
// before it (the archive of sets lands before the active set that replaces
// it). A save of the same file as the newest one still waiting replaces that
// one's content instead of queueing another write.
//
// A save that fails (a full disk, a read-only folder) leaves the old file
// whole and is kept: it is tried again, in the order of saving, each time
// another save comes and when the writer goes, so that nothing is lost once
// writing works again; later saves wait behind it to keep the order. The
// first failure after saves worked is told to `problems`.
//
// A file `problems` holds is neither written nor removed: its newest save is
// kept, without holding up the saves of other files, and lands once
// `release` answers that the file may be written again (asked each time the
// kept saves are tried, and by `writable`).
//
// Thread-safe; `release` is called on the writer's thread.
class RecordWriter {
 public:
  // Whether a held file may now be written; by default never.
  using Release = std::function<bool(std::string_view name)>;

  explicit RecordWriter(std::filesystem::path folder,
                        std::shared_ptr<const StoreFiles> files = std::make_shared<StoreFiles>(),
                        std::shared_ptr<StoreProblems> problems = std::make_shared<StoreProblems>(),
                        Release release = {});
  RecordWriter(const RecordWriter&) = delete;
  RecordWriter& operator=(const RecordWriter&) = delete;
  // Lands everything queued first, and tries the failed saves once more.
  ~RecordWriter();

  // Queues `bytes` as the whole content of `name` and returns at once.
  void write(std::string_view name, std::string bytes);
  // Queues the removal of `name`, ordered like a write.
  void remove(std::string_view name);
  // Returns once everything queued before the call has landed. Must not be
  // called from the writer's own thread.
  void flush();
  // Whether `name` is free of any hold, after everything queued before the
  // call: a held file is first released if it may be, as for its save. Must
  // not be called from the writer's own thread.
  bool writable(std::string_view name);

 private:
  struct Pending {
    std::string name;
    std::optional<std::string> bytes;  // none: remove the file
  };

  void enqueue(std::string_view name, std::optional<std::string> bytes);
  void land(std::uint64_t ticket);
  // Lands the kept saves in order, up to the first that fails again; those
  // of held files wait aside.
  void drain();
  bool mayWrite(const Pending& save) const;
  bool attempt(const Pending& save);

  std::filesystem::path folder_;
  std::shared_ptr<const StoreFiles> files_;
  std::shared_ptr<StoreProblems> problems_;
  Release release_;
  std::vector<Pending> backlog_;  // writer thread only: saves not landed yet, in saving order
  std::mutex mutex_;
  std::map<std::uint64_t, Pending> pending_;  // by ticket: the saves not yet started
  std::uint64_t lastTicket_ = 0;
  SerialQueue queue_;  // last: its thread stops before the members it uses go
};

}  // namespace kesta
