#include "support/fakes/fake_input_system.h"

#include <utility>

namespace kesta {

void FakeInputSystem::activate(std::uint32_t window) {
  if (activationWorks) bringForward(window);
  record({.kind = Event::Kind::activate, .window = window});
}

void FakeInputSystem::raiseAndFocus(std::uint32_t window) {
  if (raiseWorks) bringForward(window);
  record({.kind = Event::Kind::raise, .window = window});
}

bool FakeInputSystem::sendKey(std::uint16_t keyCode, std::uint64_t flags) {
  if (eventsFail) return false;
  record({.kind = Event::Kind::key, .keyCode = keyCode, .flags = flags});
  return true;
}

bool FakeInputSystem::click(Point point) {
  if (eventsFail) return false;
  position = point;
  record({.kind = Event::Kind::click, .point = point});
  return true;
}

void FakeInputSystem::movePointer(Point point) {
  position = point;
  record({.kind = Event::Kind::move, .point = point});
}

std::vector<FakeInputSystem::Event> FakeInputSystem::eventsOf(Event::Kind kind) const {
  std::vector<Event> found;
  for (const auto& event : events) {
    if (event.kind == kind) found.push_back(event);
  }
  return found;
}

void FakeInputSystem::record(Event event) {
  events.push_back(event);
  if (onEvent) onEvent(events.back());
}

void FakeInputSystem::bringForward(std::uint32_t window) {
  if (ownerOf) {
    if (const auto pid = ownerOf(window)) front = pid;
  }
}

}  // namespace kesta
