#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Facts about this machine for the diagnostics report. Every read is fresh;
// a fact that cannot be read is empty, never an error.
namespace kesta::SystemFacts {

// The operating system's name and version as "/etc/os-release" gives it.
std::string operatingSystem(const std::filesystem::path& osRelease = "/etc/os-release");

// The name from the text of an os-release file: PRETTY_NAME, else NAME and
// VERSION_ID joined by a space; values may be quoted.
std::string operatingSystemName(std::string_view osRelease);

// The hardware model, "<product name> (<architecture>)": the firmware's
// product name and the processor architecture; only the one that is known
// when the other is not, and empty when neither is.
std::string machineModel(
    const std::filesystem::path& productName = "/sys/devices/virtual/dmi/id/product_name");

}  // namespace kesta::SystemFacts
