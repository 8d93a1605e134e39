#pragma once

#include <cstdint>

namespace kesta::model {

// The app model's published properties, one bit each in a ChangedFields mask.
enum class Field : std::uint8_t {
  library,
  libraryState,
  legacyNote,
  poolID,
  watching,
  health,
  decks,
  pendingDecks,
  focus,
  phase,
  screenPermission,
  oneClickLoad,
  loadStatus,
  notice,
  motion,
  oneClickNeedsAccess,
  mixer,
  lanes,
  laneCursor,
  ranking,
  activeSet,
  archivedSets,
  userData,
  includeRawText,
  compact,
  shown,
  screenTracks,
  poolChoices,
  exportChangedDuringSet,
  askedForScreenPermission,
  lastDismissed,
};

// A set of published properties: which ones were just assigned.
class ChangedFields {
 public:
  constexpr ChangedFields() = default;
  constexpr ChangedFields(Field field) : bits_(bit(field)) {}  // NOLINT: one field is a mask

  constexpr bool contains(Field field) const { return (bits_ & bit(field)) != 0; }
  constexpr bool empty() const { return bits_ == 0; }
  constexpr std::uint64_t bits() const { return bits_; }

  constexpr ChangedFields& operator|=(ChangedFields other) {
    bits_ |= other.bits_;
    return *this;
  }
  friend constexpr ChangedFields operator|(ChangedFields a, ChangedFields b) { return a |= b; }
  friend constexpr bool operator==(ChangedFields, ChangedFields) = default;

 private:
  static constexpr std::uint64_t bit(Field field) { return std::uint64_t{1} << static_cast<unsigned>(field); }

  std::uint64_t bits_ = 0;
};

}  // namespace kesta::model
