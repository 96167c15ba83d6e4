#include "platform/posix/user_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace platform::posix {
namespace {

// The XDG base directory rules ignore relative values, and so do we: a relative
// path would land wherever the process happens to run.
std::string AbsoluteVariable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/') {
        return {};
    }
    return WithoutTrailingSeparators(value);
}

std::string PasswordDatabaseHome() {
    const long suggested = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? static_cast<size_t>(suggested) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
        found == nullptr || found->pw_dir == nullptr || found->pw_dir[0] != '/') {
        return {};
    }
    return WithoutTrailingSeparators(found->pw_dir);
}

std::string VariableOrBelowHome(const char* variable, std::string_view relative) {
    const std::string folder = AbsoluteVariable(variable);
    return folder.empty() ? BelowHome(relative) : folder;
}

}  // namespace

std::string WithoutTrailingSeparators(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

std::string HomeFolder() {
    std::string home = AbsoluteVariable("HOME");
    return home.empty() ? PasswordDatabaseHome() : home;
}

std::string BelowHome(std::string_view relative) {
    const std::string home = HomeFolder();
    if (home.empty()) {
        return {};
    }
    return (home == "/" ? std::string() : home) + std::string(relative);
}

std::string ConfigHome() {
    return VariableOrBelowHome("XDG_CONFIG_HOME", "/.config");
}

std::string DataHome() {
    return VariableOrBelowHome("XDG_DATA_HOME", "/.local/share");
}

}  // namespace platform::posix
