#pragma once

#include <string>

namespace platform {

// The user's and the system's well-known folders, without a trailing separator unless
// stated. POSIX: see each function; an empty variable counts as unset, a relative XDG_*
// value is ignored, $HOME falls back to the password database, and a folder below the
// home folder is empty when no home folder can be found.
namespace folders {

// Roaming application data: $APPDATA if set, else ${XDG_CONFIG_HOME:-$HOME/.config}.
std::string RoamingAppData();
// Local application data: ${XDG_DATA_HOME:-$HOME/.local/share}.
std::string LocalAppData();
// Common documents: $HOME/Documents, created when missing.
std::string CommonDocuments();
// Program files: /opt when running as root, else $HOME/.local/opt.
std::string ProgramFiles();
// The system temp folder with a trailing separator: $TMPDIR or "/tmp/".
std::string SystemTemp();
// The short (8.3) form of an existing path; POSIX has none, so the path itself.
std::string ShortPath(const std::string& path);

}  // namespace folders
}  // namespace platform
