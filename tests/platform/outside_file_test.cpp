#include "platform/files/outside_file.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <fstream>
#include <string>

namespace kesta::files {
namespace {

class Folder {
 public:
  Folder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kesta-files-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~Folder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

void write(const std::filesystem::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary) << bytes;
}

TEST(OutsideFile, TheSizeLimitHoldsAtItsEdge) {
  const Folder folder;
  const struct {
    std::size_t size;
    std::uint64_t limit;
    bool read;
  } cases[] = {
      {0, 0, true}, {10, 10, true}, {11, 10, false}, {70000, 70000, true}, {70001, 70000, false},
  };
  for (const auto& c : cases) {
    const std::string bytes(c.size, 'k');
    write(folder / "file", bytes);
    const ReadResult result = readRegularFile(folder / "file", c.limit);
    if (c.read) {
      EXPECT_EQ(result, ReadResult{bytes}) << c.size << " of " << c.limit;
    } else {
      EXPECT_EQ(result, ReadResult{ReadFailure::tooLarge}) << c.size << " of " << c.limit;
    }
  }
}

TEST(OutsideFile, SpecialFilesAndHugeSparseFilesAreRefusedWithoutWaitingOrAllocating) {
  const Folder folder;
  ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
  std::filesystem::create_directory(folder / "folder");
  write(folder / "sparse", "");
  std::filesystem::resize_file(folder / "sparse", std::uint64_t{100} << 30);
  std::filesystem::create_symlink(folder / "fifo", folder / "link to fifo");

  const struct {
    std::string name;
    ReadFailure failure;
  } cases[] = {
      {"fifo", ReadFailure::notRegularFile},   {"link to fifo", ReadFailure::notRegularFile},
      {"folder", ReadFailure::notRegularFile}, {"sparse", ReadFailure::tooLarge},
      {"missing", ReadFailure::missing},       {"missing/below", ReadFailure::missing},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(readRegularFile(folder / c.name, std::uint64_t{1} << 30), ReadResult{c.failure}) << c.name;
  }
  EXPECT_EQ(readRegularFile("/dev/zero", std::uint64_t{1} << 30), ReadResult{ReadFailure::notRegularFile});
}

}  // namespace
}  // namespace kesta::files
