#include "platform/system/system_facts.h"

#include <sys/utsname.h>

#include <fstream>
#include <map>
#include <sstream>

namespace kesta::SystemFacts {

namespace {

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return in ? text.str() : std::string();
}

std::string_view trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

// A shell-style value: quotes around it dropped, backslash escapes resolved.
std::string unquoted(std::string_view value) {
  value = trimmed(value);
  if (value.size() < 2 || (value.front() != '"' && value.front() != '\'') || value.back() != value.front()) {
    return std::string(value);
  }
  std::string text;
  const std::string_view inner = value.substr(1, value.size() - 2);
  for (std::size_t i = 0; i < inner.size(); ++i) {
    if (inner[i] == '\\' && i + 1 < inner.size()) ++i;
    text += inner[i];
  }
  return text;
}

}  // namespace

std::string operatingSystemName(std::string_view osRelease) {
  std::map<std::string, std::string, std::less<>> values;
  std::istringstream lines{std::string(osRelease)};
  for (std::string line; std::getline(lines, line);) {
    const auto equals = line.find('=');
    if (equals == std::string::npos || trimmed(line).starts_with('#')) continue;
    values[std::string(trimmed(std::string_view(line).substr(0, equals)))] =
        unquoted(std::string_view(line).substr(equals + 1));
  }
  if (const auto pretty = values.find("PRETTY_NAME"); pretty != values.end() && !pretty->second.empty()) {
    return pretty->second;
  }
  std::string name = values["NAME"];
  if (const std::string& version = values["VERSION_ID"]; !version.empty()) {
    name += name.empty() ? version : " " + version;
  }
  return name;
}

std::string operatingSystem(const std::filesystem::path& osRelease) {
  return operatingSystemName(readFile(osRelease));
}

std::string machineModel(const std::filesystem::path& productName) {
  utsname system{};
  const std::string architecture = uname(&system) == 0 ? system.machine : "";
  const std::string product(trimmed(readFile(productName)));
  if (product.empty() || architecture.empty()) return product + architecture;
  return product + " (" + architecture + ")";
}

}  // namespace kesta::SystemFacts
