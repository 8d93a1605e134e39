#include "reading/screen_permission.h"

namespace kesta::ScreenPermission {

bool granted() { return true; }

bool request() { return true; }

const std::string& settingsURL() {
  static const std::string url =
      "x-apple.systempreferences:com.apple.preference.security?Privacy_ScreenCapture";
  return url;
}

}  // namespace kesta::ScreenPermission
