#pragma once

#include <string>

// Whether this program may read other applications' windows. X11 has no such
// permission: every client may read every window, so it is always granted.
namespace kesta::ScreenPermission {

// Asked without prompting.
bool granted();

// Asks for the permission; answers whether it is granted now.
bool request();

// Where the user would turn the permission on; opened when it is still
// missing after a request.
const std::string& settingsURL();

}  // namespace kesta::ScreenPermission
