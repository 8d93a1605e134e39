#include "store/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <system_error>

#include "platform/files/file_descriptor.h"
#include "platform/files/outside_file.h"

namespace kesta::AtomicFile {
namespace {

constexpr int kMaximumAsideAttempts = 1000;
// A temporary file is "." + the target's name + this + six letters or digits.
constexpr std::string_view kTemporaryMarker = ".tmp-";
constexpr std::size_t kTemporaryRandomLength = 6;

bool isTemporaryName(std::string_view name) {
  const std::size_t marker =
      name.size() - std::min(name.size(), kTemporaryMarker.size() + kTemporaryRandomLength);
  if (marker < 2 || !name.starts_with('.') ||
      name.substr(marker, kTemporaryMarker.size()) != kTemporaryMarker)
    return false;
  const std::string_view random = name.substr(marker + kTemporaryMarker.size());
  return std::all_of(random.begin(), random.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
  });
}

[[noreturn]] void fail(int error, const std::string& what, const std::filesystem::path& file) {
  throw std::system_error(error, std::generic_category(), what + " " + file.string());
}

int writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return 0;
}

void syncFolder(const std::filesystem::path& folder) {
  const files::FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() < 0) fail(errno, "cannot open folder", folder);
  // Some file systems cannot flush a folder; the rename itself has happened.
  if (::fsync(dir.get()) != 0 && errno != EINVAL && errno != EROFS)
    fail(errno, "cannot flush folder", folder);
}

// Renames without replacing: renameat2 where the file system has it, else a
// hard link, which also refuses a taken name.
int renameNoReplace(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return errno;
  if (::link(from.c_str(), to.c_str()) != 0) return errno;
  ::unlink(from.c_str());
  return 0;
}

}  // namespace

std::optional<std::string> read(const std::filesystem::path& file) {
  auto result = files::readRegularFile(file, maximumFileBytes);
  if (auto* bytes = std::get_if<std::string>(&result)) return std::move(*bytes);
  return std::nullopt;
}

void write(const std::filesystem::path& target, std::string_view bytes) {
  write(target, std::span<const std::string_view>(&bytes, 1));
}

void write(const std::filesystem::path& target, std::span<const std::string_view> pieces) {
  const auto folder = target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
  std::string pattern =
      (folder / ("." + target.filename().string() + std::string(kTemporaryMarker) + "XXXXXX")).string();
  files::FileDescriptor fd(::mkostemp(pattern.data(), O_CLOEXEC));
  if (fd.get() < 0) fail(errno, "cannot create a temporary file for", target);
  const std::filesystem::path temporary = pattern;

  int error = 0;
  for (const std::string_view piece : pieces) {
    if (error == 0) error = writeAll(fd.get(), piece);
  }
  if (error == 0 && ::fsync(fd.get()) != 0) error = errno;
  if (const int closeError = fd.close(); error == 0) error = closeError;
  if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temporary.c_str());
    fail(error, "cannot write", target);
  }
  syncFolder(folder);
}

std::optional<std::filesystem::path> moveAside(const std::filesystem::path& file, std::string_view suffix) {
  const std::string base = file.string() + std::string(suffix);
  for (int attempt = 1; attempt <= kMaximumAsideAttempts; ++attempt) {
    const std::filesystem::path candidate = attempt == 1 ? base : base + "-" + std::to_string(attempt);
    const int error = renameNoReplace(file, candidate);
    if (error == 0) return candidate;
    if (error != EEXIST) return std::nullopt;
  }
  return std::nullopt;
}

std::size_t removeLeftovers(const std::filesystem::path& folder) {
  std::size_t removed = 0;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    std::error_code ignored;
    if (isTemporaryName(it->path().filename().string()) && it->is_regular_file(ignored) &&
        !it->is_symlink(ignored) && std::filesystem::remove(it->path(), ignored))
      ++removed;
  }
  return removed;
}

}  // namespace kesta::AtomicFile
