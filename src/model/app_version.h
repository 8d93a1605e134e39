#pragma once

#include <optional>
#include <string>

namespace kesta::model {

// The version text "<short version> (<build>)": "dev" stands for a missing
// short version and "0" for a missing build number.
std::string versionText(const std::optional<std::string>& shortVersion,
                        const std::optional<std::string>& build);

// This build's version text: the project's version and the build number
// given when the build was configured.
std::string currentVersionText();

}  // namespace kesta::model
