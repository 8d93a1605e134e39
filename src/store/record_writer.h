#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "store/serial_queue.h"

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
// Thread-safe. Failures are dropped: the callers rewrite these files whole at
// their next change, and a failed write leaves the old file intact.
class RecordWriter {
 public:
  explicit RecordWriter(std::filesystem::path folder);
  RecordWriter(const RecordWriter&) = delete;
  RecordWriter& operator=(const RecordWriter&) = delete;
  // Lands everything queued first.
  ~RecordWriter();

  // Queues `bytes` as the whole content of `name` and returns at once.
  void write(std::string_view name, std::string bytes);
  // Queues the removal of `name`, ordered like a write.
  void remove(std::string_view name);
  // Returns once everything queued before the call has landed. Must not be
  // called from the writer's own thread.
  void flush();

 private:
  struct Pending {
    std::string name;
    std::optional<std::string> bytes;  // none: remove the file
  };

  void enqueue(std::string_view name, std::optional<std::string> bytes);
  void land(std::uint64_t ticket);

  std::filesystem::path folder_;
  std::mutex mutex_;
  std::map<std::uint64_t, Pending> pending_;  // by ticket: the saves not yet started
  std::uint64_t lastTicket_ = 0;
  SerialQueue queue_;  // last: its thread stops before the members it uses go
};

}  // namespace kesta
