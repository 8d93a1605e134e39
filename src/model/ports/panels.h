#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kesta::model {

struct OpenPanelRequest {
  std::string title;
  std::string message;
  std::vector<std::string> extensions;  // without the dot: "xml"
};

struct SavePanelRequest {
  std::string title;
  std::string message;  // may be empty
  std::string suggestedName;
  std::vector<std::string> extensions;  // without the dot: "txt", "csv", "png"
};

// Modal file panels on the main thread: they return once the user has chosen,
// with the chosen file, or nothing when the panel was cancelled.
class Panels {
 public:
  virtual ~Panels() = default;
  virtual std::optional<std::filesystem::path> chooseFile(const OpenPanelRequest& request) = 0;
  virtual std::optional<std::filesystem::path> chooseSaveLocation(const SavePanelRequest& request) = 0;
};

}  // namespace kesta::model
