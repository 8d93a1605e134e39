#include "model/load_button_state.h"

namespace kesta::model {

LoadButtonState loadButtonState(const LoadDecision& decision, const LoadStatus& status,
                                const std::string& trackID) {
  using Fill = LoadButtonState::Fill;
  LoadButtonState out;
  if (const auto* allowed = decision.as<LoadDecision::Allowed>()) {
    const std::string deck = std::to_string(allowed->deck);
    out.title = "Load→D" + deck;
    out.fill = Fill::lime;
    out.tooltip = "Load onto Deck " + deck +
                  " in rekordbox (experimental). Kesta takes the keyboard and mouse for about a second.";
  } else if (const auto* asks = decision.as<LoadDecision::NeedsConfirmation>()) {
    const std::string deck = std::to_string(asks->deck);
    out.title = "Load→D" + deck + "?";
    out.fill = Fill::warn;
    out.tooltip =
        "Deck " + deck + " is still playing. Click twice to load over it, only once it's faded out.";
  } else {
    out.title = "Load";
    out.tooltip = decision.as<LoadDecision::Refused>()->reason;
  }
  out.restingTitle = out.title;
  const auto* loading = status.as<LoadStatus::Loading>();
  if (loading && loading->trackID == trackID) out.title = "…";
  if (loading) out.fill = Fill::raised;
  out.enabled = out.fill != Fill::raised;
  return out;
}

}  // namespace kesta::model
