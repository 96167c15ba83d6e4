#include <filesystem>

#include "platform/path_compare.h"

namespace platform {

namespace {

// Lexically normal form without a trailing separator, so that "a/b/" and "a/b" agree.
std::filesystem::path NormalFolder(std::string_view path) {
    std::filesystem::path normal = std::filesystem::path(path).lexically_normal();
    if (!normal.has_filename() && normal.has_relative_path()) {
        normal = normal.parent_path();
    }
    return normal;
}

}  // namespace

bool SameFileName(std::string_view a, std::string_view b) {
    return a == b;
}

bool SameFolder(std::string_view a, std::string_view b) {
    if (a.empty() || b.empty()) {
        return false;
    }
    return NormalFolder(a) == NormalFolder(b);
}

}  // namespace platform
