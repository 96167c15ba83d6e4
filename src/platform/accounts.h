#pragma once

#include <string>
#include <string_view>

namespace platform {

// The user logged on at the active local console (POSIX: from utmp, a graphical local seat
// before a text console before another local terminal, the latest login among equals; remote
// logins and sessions whose process has ended do not count; with none left, the real user).
// False, with `name` unchanged, when no name can be found.
bool ConsoleUserName(std::string& name);

// Whether the named local account has administrator rights (POSIX: uid 0, or a member of
// group "sudo", "wheel" or "admin"); false for an unknown or empty name.
bool UserIsAdministrator(std::string_view name);

// Whether this process runs with administrator rights (POSIX: effective uid 0).
bool ProcessIsElevated();

}  // namespace platform
