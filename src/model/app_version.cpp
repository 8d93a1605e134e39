#include "model/app_version.h"

namespace kesta::model {

std::string versionText(const std::optional<std::string>& shortVersion,
                        const std::optional<std::string>& build) {
  return shortVersion.value_or("dev") + " (" + build.value_or("0") + ")";
}

std::string currentVersionText() {
#ifdef KESTA_SHORT_VERSION
  const std::optional<std::string> shortVersion = KESTA_SHORT_VERSION;
#else
  const std::optional<std::string> shortVersion;
#endif
#ifdef KESTA_BUILD_NUMBER
  const std::optional<std::string> build = KESTA_BUILD_NUMBER;
#else
  const std::optional<std::string> build;
#endif
  return versionText(shortVersion, build);
}

}  // namespace kesta::model
