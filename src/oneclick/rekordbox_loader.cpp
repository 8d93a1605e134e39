#include "oneclick/rekordbox_loader.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <string_view>
#include <utility>

#include "oneclick/browser_row_matcher.h"
#include "oneclick/load_error.h"
#include "oneclick/loader_capture.h"
#include "platform/time/clock.h"
#include "reading/rekordbox.h"

namespace kesta {

namespace {

// Pacing of one attempt: rekordbox needs these moments to react.
constexpr double kAfterFront = 0.080;
constexpr double kAfterSearch = 0.120;
constexpr double kAfterPaste = 0.700;
constexpr double kBetweenFindingLooks = 0.400;
constexpr double kBeforeConfirmingLook = 0.250;
constexpr double kAfterClick = 0.180;
constexpr double kBetweenVerifyingLooks = 0.220;
constexpr double kBetweenAttempts = 0.300;
constexpr double kFrontPoll = 0.050;
constexpr double kFrontNudgeAfter = 0.2;
constexpr double kFrontTimeout = 0.6;

constexpr int kFindingLooks = 4;
constexpr int kConfirmingLooks = 3;
constexpr int kVerifyingLooks = 3;

bool sameWindow(const Rect& a, const Rect& b) { return a == b; }

}  // namespace

struct RekordboxLoader::Look {
  Rect frame;
  RowPick pick;
};

RekordboxLoader::RekordboxLoader(Parts parts) : parts_(std::move(parts)) {}

bool RekordboxLoader::isAuthorized() const { return parts_.input->trusted(); }

std::uint64_t RekordboxLoader::flags(const RekordboxKeys::Stroke& stroke) {
  std::uint64_t flags = 0;
  if (stroke.shift) flags |= KeyFlags::shift;
  if (stroke.command) flags |= KeyFlags::command;
  if (stroke.control) flags |= KeyFlags::control;
  return flags;
}

bool RekordboxLoader::isTextInput(const std::string& role) {
  static constexpr std::array<std::string_view, 4> roles{"AXTextField", "AXTextArea", "AXSearchField",
                                                         "AXComboBox"};
  for (const auto known : roles) {
    if (role == known) return true;
  }
  return false;
}

bool RekordboxLoader::sameRow(const Rect& reference, const Rect& row) {
  const double distance = std::abs(reference.midY() - row.midY());
  const double height = std::max(reference.height, row.height);
  return height > 0.004 ? distance < 0.5 * height : distance < 0.002;
}

void RekordboxLoader::requireFrontmost(const Application& app, std::optional<std::int32_t> frontmost) {
  if (frontmost != app.pid) throw LoadError::notFrontmost();
}

std::optional<RekordboxLoader::Application> RekordboxLoader::findRekordbox() const {
  const auto windows = parts_.windows->windows();
  std::optional<Application> app;
  double area = -1;
  for (const auto& window : windows) {
    if (!window.pid || !Rekordbox::ownsWindow(window)) continue;
    if (!app) app = Application{*window.pid, window.id};
    // Activate its largest shown window: the main one, not a palette.
    const double windowArea = window.viewable ? window.frame.width * window.frame.height : 0;
    if (*window.pid == app->pid && windowArea > area) {
      app->window = window.id;
      area = windowArea;
    }
  }
  return app;
}

void RekordboxLoader::requireFront(const Application& app) const {
  requireFrontmost(app, parts_.input->frontmostProcess());
}

bool RekordboxLoader::bringToFront(const Application& app, double timeout) {
  auto& input = *parts_.input;
  if (input.frontmostProcess() == app.pid) return true;
  input.activate(app.window);
  // Measured on the monotonic clock: a step of the wall clock must neither
  // cut the wait short nor stretch it without end.
  const double start = parts_.timing.now();
  bool nudged = false;
  while (true) {
    if (parts_.timing.now() - start >= timeout) return input.frontmostProcess() == app.pid;
    // Not interruptible: a cancelled load still waits out this short poll.
    parts_.timing.sleep(std::stop_token{}, kFrontPoll);
    if (input.frontmostProcess() == app.pid) return true;
    if (!nudged && parts_.timing.now() - start >= kFrontNudgeAfter) {
      input.raiseAndFocus(app.window);
      nudged = true;
    }
  }
}

void RekordboxLoader::send(const RekordboxKeys::Stroke& stroke) const {
  if (!parts_.input->sendKey(stroke.key, flags(stroke))) throw LoadError::eventFailed();
}

void RekordboxLoader::pause(double seconds, std::stop_token stop) const {
  if (stop.stop_requested()) throw LoadCancelled();
  parts_.timing.sleep(stop, seconds);
  if (stop.stop_requested()) throw LoadCancelled();
}

RekordboxLoader::Look RekordboxLoader::look(const Application& app, const Track& track,
                                            const LibraryIndex& index) const {
  auto shot = LoaderCapture::captureWindow(*parts_.windows, app.pid);
  const auto lines =
      LoaderCapture::recognize(*parts_.recognizer, shot.image, browserRegion, index.recognitionLanguages());
  return {shot.frame, BrowserRowMatcher::pick(lines, track, index, browserRegion)};
}

void RekordboxLoader::selectRow(const Track& track, const Application& app, const LibraryIndex& index,
                                std::stop_token stop) {
  searchFor(track, app, stop);
  const Look reference = findRow(track, app, index, stop);
  const Look still = holdStill(reference, track, app, index, stop);
  const Rect row = still.pick.as<RowPick::Row>()->box;
  const Rect frame = still.frame;

  requireFront(app);
  const Point target{frame.minX() + row.midX() * frame.width, frame.minY() + row.midY() * frame.height};
  if (!parts_.input->click(target)) throw LoadError::eventFailed();
  pause(kAfterClick, stop);
  verifyClicked(row, frame, track, app, index, stop);
}

void RekordboxLoader::searchFor(const Track& track, const Application& app, std::stop_token stop) {
  if (!bringToFront(app, kFrontTimeout)) throw LoadError::notFrontmost();
  pause(kAfterFront, stop);
  requireFront(app);

  parts_.clipboard->setText(track.title);
  send(RekordboxKeys::search);
  pause(kAfterSearch, stop);
  if (const auto role = parts_.input->focusedRole(app.pid); role && !isTextInput(*role)) {
    throw LoadError::searchNotFocused();
  }
  requireFront(app);
  send(RekordboxKeys::selectAll);
  send(RekordboxKeys::paste);
  pause(kAfterPaste, stop);
}

RekordboxLoader::Look RekordboxLoader::findRow(const Track& track, const Application& app,
                                               const LibraryIndex& index, std::stop_token stop) const {
  for (int n = 1;; ++n) {
    Look found = look(app, track, index);
    if (found.pick.is<RowPick::Row>()) return found;
    if (const auto* ambiguous = found.pick.as<RowPick::Ambiguous>())
      throw LoadError::ambiguous(ambiguous->count);
    if (n == kFindingLooks) throw LoadError::notFound();
    pause(kBetweenFindingLooks, stop);
  }
}

RekordboxLoader::Look RekordboxLoader::holdStill(const Look& reference, const Track& track,
                                                 const Application& app, const LibraryIndex& index,
                                                 std::stop_token stop) const {
  Look still = reference;
  for (int disagreements = 0;;) {
    pause(kBeforeConfirmingLook, stop);
    std::optional<Look> confirming;
    try {
      confirming = look(app, track, index);
    } catch (const std::exception&) {
      // A look that fails is a disagreement that keeps the reference.
    }
    const auto* seen = confirming ? confirming->pick.as<RowPick::Row>() : nullptr;
    const auto* row = still.pick.as<RowPick::Row>();
    const bool agrees = seen && sameRow(row->box, seen->box) && sameWindow(still.frame, confirming->frame);
    if (seen) still = {confirming->frame, RowPick::row(seen->box)};
    if (agrees) return still;
    if (++disagreements == kConfirmingLooks) throw LoadError::resultsMoving();
  }
}

void RekordboxLoader::verifyClicked(const Rect& row, const Rect& frame, const Track& track,
                                    const Application& app, const LibraryIndex& index,
                                    std::stop_token stop) const {
  for (int n = 1;; ++n) {
    const auto after = look(app, track, index);
    std::string reason;
    if (const auto* seen = after.pick.as<RowPick::Row>()) {
      if (!sameWindow(frame, after.frame)) {
        reason = "window moved";
      } else if (!sameRow(row, seen->box)) {
        reason = "row at another height";
      } else {
        return;
      }
    } else if (const auto* ambiguous = after.pick.as<RowPick::Ambiguous>()) {
      reason = std::to_string(ambiguous->count) + " rows fit";
    } else {
      reason = "row not found";
    }
    if (n == kVerifyingLooks) throw LoadError::rowMoved(reason);
    pause(kBetweenVerifyingLooks, stop);
  }
}

int RekordboxLoader::attempts(const Track& track, const Application& app, const LibraryIndex& index,
                              const StillSafe& stillSafe, std::stop_token stop, int deck) {
  for (int attempt = 1;; ++attempt) {
    try {
      selectRow(track, app, index, stop);
    } catch (const LoadError& error) {
      if (!error.worthRetrying() || attempt == maxAttempts) throw;
      if (auto reason = stillSafe()) throw LoadError::becameUnsafe(std::move(*reason));
      pause(kBetweenAttempts, stop);
      continue;
    }
    if (auto reason = stillSafe()) throw LoadError::becameUnsafe(std::move(*reason));
    if (!bringToFront(app, kFrontTimeout)) throw LoadError::notFrontmost();
    requireFront(app);
    send(RekordboxKeys::load(deck));
    return attempt;
  }
}

int RekordboxLoader::load(const Track& track, int toDeck, LibraryIndex index, const StillSafe& stillSafe,
                          std::stop_token stop) {
  if (!parts_.input->trusted()) throw LoadError::accessibilityNeeded();
  const auto app = findRekordbox();
  if (!app) throw LoadError::rekordboxNotRunning();

  const auto pointer = parts_.input->pointer();
  const auto clipboard = parts_.clipboard->contents();
  const auto giveBack = [&] {
    parts_.clipboard->setContents(clipboard);
    if (pointer) parts_.input->movePointer(*pointer);
  };
  int attempt = 0;
  try {
    attempt = attempts(track, *app, index, stillSafe, stop, toDeck);
  } catch (...) {
    giveBack();
    throw;
  }
  giveBack();
  return attempt;
}

void RekordboxLoader::undoLastLoad() {
  if (!parts_.input->trusted()) throw LoadError::accessibilityNeeded();
  const auto app = findRekordbox();
  if (!app) throw LoadError::rekordboxNotRunning();
  if (!bringToFront(*app, kFrontTimeout)) throw LoadError::notFrontmost();
  requireFront(*app);
  send(RekordboxKeys::undoLoad);
}

}  // namespace kesta
