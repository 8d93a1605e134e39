#pragma once

#include <exception>
#include <string>

namespace kesta {

// Every way a one-click load can fail that the loader itself detects. Each case
// carries a full text (full window), a short text (corner card), a kebab-case
// diagnostics code and whether another attempt may succeed. Thrown by loaders;
// platform errors and cancellation pass through as their own types.
class LoadError : public std::exception {
 public:
  enum class Case {
    ambiguous,
    becameUnsafe,
    rowMoved,
    accessibilityNeeded,
    rekordboxNotRunning,
    windowNotVisible,
    notFound,
    eventFailed,
    searchNotFocused,
    notFrontmost,
    resultsMoving,
  };

  // Several rows could be the track; `count` of them.
  static LoadError ambiguous(int count);
  // The caller's safety re-check gave `reason`.
  static LoadError becameUnsafe(std::string reason);
  // The check after the click failed for `reason`, which travels with the
  // error for the status line and diagnostics but appears in neither text.
  static LoadError rowMoved(std::string reason);
  static LoadError accessibilityNeeded();
  static LoadError rekordboxNotRunning();
  static LoadError windowNotVisible();
  static LoadError notFound();
  static LoadError eventFailed();
  static LoadError searchNotFocused();
  static LoadError notFrontmost();
  static LoadError resultsMoving();

  Case kind() const { return kind_; }
  // The payload of `ambiguous`; 0 for the other cases.
  int count() const { return count_; }
  // The payload of `becameUnsafe` and `rowMoved`; empty for the other cases.
  const std::string& reason() const { return reason_; }

  const std::string& errorDescription() const { return description_; }
  std::string shortDescription() const;
  std::string diagnosticsCode() const;
  bool worthRetrying() const;

  // The full text, so that a generic error display shows it.
  const char* what() const noexcept override { return description_.c_str(); }

  // Same case and equal payload.
  friend bool operator==(const LoadError& a, const LoadError& b) {
    return a.kind_ == b.kind_ && a.count_ == b.count_ && a.reason_ == b.reason_;
  }

 private:
  LoadError(Case kind, int count, std::string reason);

  Case kind_;
  int count_;
  std::string reason_;
  std::string description_;
};

}  // namespace kesta
