#include "store/record_writer.h"

#include <exception>
#include <system_error>
#include <utility>

#include "store/atomic_file.h"

namespace kesta {

RecordWriter::RecordWriter(std::filesystem::path folder)
    : folder_(std::move(folder)), queue_("kesta.records.write") {}

RecordWriter::~RecordWriter() { flush(); }

void RecordWriter::write(std::string_view name, std::string bytes) { enqueue(name, std::move(bytes)); }

void RecordWriter::remove(std::string_view name) { enqueue(name, std::nullopt); }

void RecordWriter::flush() {
  queue_.sync([] {});
}

void RecordWriter::enqueue(std::string_view name, std::optional<std::string> bytes) {
  // Queued under the lock, so that tickets and queue order agree.
  const std::lock_guard lock(mutex_);
  if (!pending_.empty() && pending_.rbegin()->second.name == name) {
    pending_.rbegin()->second.bytes = std::move(bytes);
    return;
  }
  const std::uint64_t ticket = ++lastTicket_;
  pending_.emplace(ticket, Pending{std::string(name), std::move(bytes)});
  queue_.async([this, ticket] { land(ticket); });
}

void RecordWriter::land(std::uint64_t ticket) {
  Pending save;
  {
    const std::lock_guard lock(mutex_);
    const auto entry = pending_.find(ticket);
    if (entry == pending_.end()) return;
    save = std::move(entry->second);
    pending_.erase(entry);
  }
  const std::string& name = save.name;
  const std::optional<std::string>& bytes = save.bytes;
  const auto file = folder_ / name;
  std::error_code ignored;
  if (!bytes) {
    std::filesystem::remove(file, ignored);
    return;
  }
  // The folder may have been removed while the app runs; without it every
  // later save would fail.
  std::filesystem::create_directories(folder_, ignored);
  try {
    AtomicFile::write(file, *bytes);
  } catch (const std::exception&) {
    // The old file stays whole; the next save of it writes everything again.
  }
}

}  // namespace kesta
