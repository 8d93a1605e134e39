#include "platform/files/outside_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <new>
#include <stdexcept>
#include <utility>

#include "platform/files/file_descriptor.h"

namespace kesta::files {
namespace {

ReadFailure openFailure(int error) {
  if (error == ENOENT || error == ENOTDIR) return ReadFailure::missing;
  if (error == EMFILE || error == ENFILE || error == ENOMEM) return ReadFailure::noResources;
  return ReadFailure::unreadable;
}

// Reads to the end; the size seen at opening is only a hint, as the file may
// grow or shrink while it is read.
ReadResult readAll(int fd, std::uint64_t sizeHint, std::uint64_t maxBytes) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(sizeHint));
  std::array<char, 1 << 16> buffer{};
  for (;;) {
    const ssize_t count = ::read(fd, buffer.data(), buffer.size());
    if (count < 0) {
      if (errno == EINTR) continue;
      return errno == ENOMEM ? ReadFailure::noResources : ReadFailure::unreadable;
    }
    if (count == 0) return bytes;
    if (static_cast<std::uint64_t>(count) > maxBytes - bytes.size()) return ReadFailure::tooLarge;
    bytes.append(buffer.data(), static_cast<std::size_t>(count));
  }
}

// Opens a regular file of at most `maxBytes`, answering it and its size.
std::variant<std::pair<FileDescriptor, std::uint64_t>, ReadFailure> openRegular(
    const std::filesystem::path& file, std::uint64_t maxBytes) {
  // Non-blocking, so that opening a FIFO without a writer returns at once.
  FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (fd.get() < 0) return openFailure(errno);
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) return ReadFailure::unreadable;
  if (!S_ISREG(info.st_mode)) return ReadFailure::notRegularFile;
  const auto size = static_cast<std::uint64_t>(info.st_size);
  if (size > maxBytes) return ReadFailure::tooLarge;
  return std::pair{std::move(fd), size};
}

}  // namespace

std::optional<ReadFailure> readRegularFileInBlocks(const std::filesystem::path& file, std::uint64_t maxBytes,
                                                   const std::function<void(std::string_view)>& consume) {
  auto opened = openRegular(file, maxBytes);
  if (const auto* failure = std::get_if<ReadFailure>(&opened)) return *failure;
  const int fd = std::get<0>(opened).first.get();
  constexpr std::size_t kBlockBytes = std::size_t{1} << 20;
  std::string buffer;
  try {
    buffer.resize(kBlockBytes);
  } catch (const std::bad_alloc&) {
    return ReadFailure::noResources;
  }
  std::uint64_t total = 0;
  for (;;) {
    const ssize_t count = ::read(fd, buffer.data(), buffer.size());
    if (count < 0) {
      if (errno == EINTR) continue;
      return errno == ENOMEM ? ReadFailure::noResources : ReadFailure::unreadable;
    }
    if (count == 0) return std::nullopt;
    if (static_cast<std::uint64_t>(count) > maxBytes - total) return ReadFailure::tooLarge;
    total += static_cast<std::uint64_t>(count);
    consume(std::string_view(buffer.data(), static_cast<std::size_t>(count)));
  }
}

ReadResult readRegularFile(const std::filesystem::path& file, std::uint64_t maxBytes) {
  auto opened = openRegular(file, maxBytes);
  if (const auto* failure = std::get_if<ReadFailure>(&opened)) return *failure;
  const auto& [fd, size] = std::get<0>(opened);
  try {
    return readAll(fd.get(), size, maxBytes);
  } catch (const std::bad_alloc&) {
    return ReadFailure::noResources;
  } catch (const std::length_error&) {
    return ReadFailure::noResources;
  }
}

}  // namespace kesta::files
