#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>

#include "oneclick/rekordbox_keys.h"
#include "oneclick/track_loading.h"
#include "platform/clipboard/clipboard.h"
#include "platform/desktop/input_system.h"
#include "platform/desktop/window_system.h"
#include "platform/image/geometry.h"
#include "platform/ocr/text_recognizer.h"
#include "platform/time/timing.h"

namespace kesta {

// Loads a track the way a DJ would: brings rekordbox to the front, pastes the
// title into its browser's search box, clicks the one row its own look at the
// window proves to be the track, re-checks safety and presses the load
// shortcut. Whatever happens, the user's clipboard and pointer come back.
class RekordboxLoader : public TrackLoading {
 public:
  // Time as the loader sees it; tests replace both to run in virtual time.
  using Timing = kesta::Timing;

  struct Parts {
    std::shared_ptr<WindowSystem> windows;
    std::shared_ptr<InputSystem> input;
    std::shared_ptr<Clipboard> clipboard;
    std::shared_ptr<TextRecognizer> recognizer;
    Timing timing = Timing::real();
  };

  // The running rekordbox: its process and the window to activate.
  struct Application {
    std::int32_t pid = 0;
    std::uint32_t window = 0;
  };

  static constexpr int maxAttempts = 3;

  explicit RekordboxLoader(Parts parts);

  // Where the browser's rows are looked for, in fractions of the window:
  // the lower 60 % by default.
  Rect browserRegion{0, 0.4, 1, 0.6};

  bool isAuthorized() const override;
  // Synthetic input needs no permission here; nothing to ask.
  void requestAuthorization() override {}
  int load(const Track& track, int toDeck, LibraryIndex index, const StillSafe& stillSafe,
           std::stop_token stop = {}) override;
  void undoLastLoad() override;

  // Makes `app` the frontmost application, polling every 50 ms until
  // `timeout` seconds have passed; true when it is in front.
  bool bringToFront(const Application& app, double timeout = 0.6);
  // Throws LoadError::notFrontmost unless `frontmost` is `app`'s process.
  static void requireFrontmost(const Application& app, std::optional<std::int32_t> frontmost);
  // The stroke's modifiers as KeyFlags.
  static std::uint64_t flags(const RekordboxKeys::Stroke& stroke);
  // Whether an accessibility role is one of a text input.
  static bool isTextInput(const std::string& role);
  // Whether two row rectangles are one row: their centres within half the
  // taller height apart, or within 0.002 for rows of 0.004 or lower.
  static bool sameRow(const Rect& reference, const Rect& row);

 private:
  struct Look;

  std::optional<Application> findRekordbox() const;
  void requireFront(const Application& app) const;
  void send(const RekordboxKeys::Stroke& stroke) const;
  void pause(double seconds, std::stop_token stop) const;
  Look look(const Application& app, const Track& track, const LibraryIndex& index) const;
  // Finding the track's one row, waiting until it holds still, clicking it and
  // checking the click, in these steps.
  void selectRow(const Track& track, const Application& app, const LibraryIndex& index, std::stop_token stop);
  void searchFor(const Track& track, const Application& app, std::stop_token stop);
  Look findRow(const Track& track, const Application& app, const LibraryIndex& index,
               std::stop_token stop) const;
  // The row and window as two looks in a row agree on them.
  Look holdStill(const Look& reference, const Track& track, const Application& app, const LibraryIndex& index,
                 std::stop_token stop) const;
  void verifyClicked(const Rect& row, const Rect& frame, const Track& track, const Application& app,
                     const LibraryIndex& index, std::stop_token stop) const;
  int attempts(const Track& track, const Application& app, const LibraryIndex& index,
               const StillSafe& stillSafe, std::stop_token stop, int deck);

  Parts parts_;
};

}  // namespace kesta
