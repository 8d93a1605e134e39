#pragma once

#include <unistd.h>

#include <cerrno>
#include <utility>

// An open POSIX file descriptor that closes itself on every path out of the
// scope that holds it. Owns a negative value (a failed open) harmlessly.
// Movable, not copyable; one thread at a time.
namespace kesta::files {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  FileDescriptor& operator=(FileDescriptor&&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }

  int get() const { return fd_; }

  // Closes now and answers the error of close, 0 when there was none.
  int close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result == 0 ? 0 : errno;
  }

 private:
  int fd_;
};

}  // namespace kesta::files
