#pragma once

#include <string_view>

namespace platform {

// Whether two file names are the same name on this system: exactly on POSIX, without
// regard to letter case on Windows.
bool SameFileName(std::string_view a, std::string_view b);

// Whether two folder paths name the same folder, judged on the text alone: "." parts,
// repeated and trailing separators do not count ("a/b/" and "a/./b" are "a/b"), ".."
// steps back, and names compare as SameFileName() does. Symbolic links are not followed.
// Two empty paths are not the same folder.
bool SameFolder(std::string_view a, std::string_view b);

}  // namespace platform
