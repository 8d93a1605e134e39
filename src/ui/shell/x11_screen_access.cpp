#include "ui/shell/x11_screen_access.h"

#include "reading/screen_permission.h"

namespace kesta::ui {

bool X11ScreenAccess::granted() { return ScreenPermission::granted(); }

bool X11ScreenAccess::request() { return ScreenPermission::request(); }

std::string X11ScreenAccess::settingsURL() { return ScreenPermission::settingsURL(); }

}  // namespace kesta::ui
