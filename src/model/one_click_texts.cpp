#include "model/one_click_texts.h"

#include <variant>

#include "oneclick/rekordbox_loader.h"

namespace kesta::model {

PresetNotice presetNotice(const KeyPreset::Result& result) {
  if (const auto* matches = std::get_if<KeyPreset::Matches>(&result)) {
    return {"One-click load is on. Your rekordbox shortcuts (" + matches->preset + ") match.",
            "One-click load on. Shortcuts match.", 8};
  }
  if (const auto* differs = std::get_if<KeyPreset::Differs>(&result)) {
    return {"One-click load is on, but your rekordbox preset (" + differs->preset + ") uses other keys for " +
                joined(differs->commands) + ". Loads will be refused until it uses the defaults.",
            "rekordbox shortcuts differ. See Full.", 15};
  }
  return {"One-click load is on. It assumes rekordbox's default shortcuts.",
          "One-click load on (default shortcuts).", 8};
}

std::string deckName(int deck) { return "Deck " + std::to_string(deck); }

std::string joined(const std::vector<std::string>& parts) {
  std::string text;
  for (const auto& part : parts) text += (text.empty() ? "" : ", ") + part;
  return text;
}

std::optional<std::string> failureDetail(const LoadError& error) {
  const std::string tries = "after " + std::to_string(RekordboxLoader::maxAttempts) + " tries";
  switch (error.kind()) {
    case LoadError::Case::becameUnsafe:
      return error.reason();
    case LoadError::Case::rowMoved:
      return tries + ", check saw: " + error.reason();
    default:
      return error.worthRetrying() ? std::optional(tries) : std::nullopt;
  }
}

std::string failureCode(const LoadFailure& failure) {
  return failure.error ? failure.error->diagnosticsCode() : "error";
}

std::optional<std::string> failureShort(const LoadFailure& failure) {
  return failure.error ? std::optional(failure.error->shortDescription()) : std::nullopt;
}

}  // namespace kesta::model
