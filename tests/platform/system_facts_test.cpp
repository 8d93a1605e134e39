#include "platform/system/system_facts.h"

#include <gtest/gtest.h>
#include <sys/utsname.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace kesta {
namespace {

TEST(SystemFacts, NamesTheOperatingSystemFromOsRelease) {
  const std::pair<const char*, const char*> rows[] = {
      {"NAME=\"Debian GNU/Linux\"\nVERSION_ID=\"12\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n",
       "Debian GNU/Linux 12 (bookworm)"},
      {"NAME=Fedora\nVERSION_ID=39\n", "Fedora 39"},
      {"# comment=no\nNAME='Arch Linux'\n", "Arch Linux"},
      {"PRETTY_NAME=\"\"\nNAME=\"Say \\\"hi\\\"\"\n", "Say \"hi\""},
      {"VERSION_ID=7\n", "7"},
      {"", ""},
  };
  for (const auto& [text, name] : rows) EXPECT_EQ(SystemFacts::operatingSystemName(text), name) << text;
}

TEST(SystemFacts, MachineModelIsTheProductNameAndTheArchitecture) {
  utsname system{};
  ASSERT_EQ(uname(&system), 0);
  const std::string architecture = system.machine;
  const auto file =
      std::filesystem::temp_directory_path() / ("kesta-product-" + std::to_string(std::random_device()()));
  std::ofstream(file) << "ThinkPad X1 Carbon\n";
  EXPECT_EQ(SystemFacts::machineModel(file), "ThinkPad X1 Carbon (" + architecture + ")");
  std::filesystem::remove(file);
  EXPECT_EQ(SystemFacts::machineModel(file), architecture) << "no blank product name";
  EXPECT_EQ(SystemFacts::operatingSystem(file), "");
}

}  // namespace
}  // namespace kesta
