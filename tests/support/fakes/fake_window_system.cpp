#include "support/fakes/fake_window_system.h"

#include <stdexcept>

namespace kesta {

WindowInfo& FakeWindowSystem::window(std::uint32_t id) {
  for (WindowInfo& w : list) {
    if (w.id == id) return w;
  }
  throw std::out_of_range("no window " + std::to_string(id));
}

std::vector<WindowInfo> FakeWindowSystem::windows() {
  ++listCalls;
  if (listFailure) throw WindowSystemError(*listFailure);
  return list;
}

std::optional<Size> FakeWindowSystem::windowSize(std::uint32_t id) {
  for (const WindowInfo& w : list) {
    if (w.id == id) return w.frame.size();
  }
  return std::nullopt;
}

std::optional<Image> FakeWindowSystem::capture(std::uint32_t id) {
  ++captureCalls;
  if (captureFailure) throw WindowSystemError(*captureFailure);
  for (const WindowInfo& w : list) {
    if (w.id != id) continue;
    if (!w.viewable || w.minimized) return std::nullopt;
    if (const auto picture = pictures.find(id); picture != pictures.end()) return picture->second;
    return Image(int(w.frame.width), int(w.frame.height), Rgba{40, 40, 40, 255});
  }
  return std::nullopt;
}

bool FakeWindowSystem::processRunning(std::string_view name) { return processes.contains(std::string(name)); }

}  // namespace kesta
