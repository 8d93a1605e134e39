#include "store/record_writer.h"

#include <algorithm>
#include <cstddef>
#include <exception>
#include <iterator>
#include <span>
#include <system_error>
#include <utility>

#include "store/atomic_file.h"

namespace kesta {

RecordWriter::RecordWriter(std::filesystem::path folder, std::shared_ptr<const StoreFiles> files,
                           std::shared_ptr<StoreProblems> problems, Release release)
    : folder_(std::move(folder)),
      files_(std::move(files)),
      problems_(std::move(problems)),
      release_(std::move(release)),
      queue_("kesta.records.write") {}

RecordWriter::~RecordWriter() {
  queue_.sync([this] { drain(); });
}

void RecordWriter::write(std::string_view name, std::string bytes) { enqueue(name, std::move(bytes)); }

void RecordWriter::remove(std::string_view name) { enqueue(name, std::nullopt); }

void RecordWriter::flush() {
  queue_.sync([] {});
}

bool RecordWriter::writable(std::string_view name) {
  bool free = false;
  queue_.sync([&] { free = mayWrite(Pending{std::string(name), std::nullopt}); });
  return free;
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
  // A kept save of the same file is out of date now.
  std::erase_if(backlog_, [&](const Pending& kept) { return kept.name == save.name; });
  backlog_.push_back(std::move(save));
  drain();
}

void RecordWriter::drain() {
  std::vector<Pending> waiting;
  auto next = backlog_.begin();
  for (; next != backlog_.end(); ++next) {
    if (!mayWrite(*next)) {
      waiting.push_back(std::move(*next));
    } else if (!attempt(*next)) {
      break;
    }
  }
  // The held saves came before the first that failed: the order stays.
  waiting.insert(waiting.end(), std::make_move_iterator(next), std::make_move_iterator(backlog_.end()));
  backlog_ = std::move(waiting);
}

bool RecordWriter::mayWrite(const Pending& save) const {
  if (!problems_->isHeld(save.name)) return true;
  // A release that fails (short of memory) leaves the save waiting, not lost.
  try {
    return release_ && release_(save.name);
  } catch (const std::exception&) {
    return false;
  }
}

bool RecordWriter::attempt(const Pending& save) {
  const auto file = folder_ / save.name;
  try {
    if (save.bytes) {
      // The folder may have been removed while the app runs; without it every
      // later save would fail.
      std::error_code ignored;
      std::filesystem::create_directories(folder_, ignored);
      const std::string_view bytes = *save.bytes;
      files_->write(file, std::span<const std::string_view>(&bytes, 1));
    } else {
      files_->remove(file);
    }
  } catch (const std::system_error& error) {
    problems_->saveFailed(save.name, error.code());
    return false;
  } catch (const std::exception&) {
    problems_->saveFailed(save.name, std::make_error_code(std::errc::io_error));
    return false;
  }
  problems_->saveLanded();
  return true;
}

}  // namespace kesta
