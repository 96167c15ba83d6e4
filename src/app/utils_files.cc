#include <filesystem>
#include <system_error>

#include "app/utils.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "platform/known_folders.h"

namespace Utils {
namespace {

constexpr size_t kMaxPathChars = 260;

size_t CodePointCount(std::string_view text) {
    size_t count = 0;
    for (unsigned char c : text) {
        if ((c & 0xC0) != 0x80) {
            ++count;
        }
    }
    return count;
}

// A path that exists but is not a folder cannot hold files, so it counts as neither
// found nor creatable.
bool FindOrCreateFolder(const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        return true;
    }
    // Another process may create it at the same moment; what counts is that it exists after.
    std::filesystem::create_directory(path, error);
    return std::filesystem::is_directory(path, error);
}

}  // namespace

std::string GetInstallerTempFolder() {
    std::string path = platform::folders::SystemTemp();
    path.append("~MarlixTemp.92482B06FB471E17");
    path.push_back(platform::kPathSeparator);
    return FindOrCreateFolder(path) ? path : std::string();
}

bool CreateFolderTree(const std::string& path) {
    if (path.empty() || CodePointCount(path) > kMaxPathChars) {
        return false;
    }
    for (size_t pos = path.find(platform::kPathSeparator); pos != std::string::npos;
         pos = path.find(platform::kPathSeparator, pos + 1)) {
        if (!FindOrCreateFolder(path.substr(0, pos + 1))) {
            return false;
        }
    }
    if (path.back() != platform::kPathSeparator) {
        return FindOrCreateFolder(path);
    }
    return true;
}

bool WriteRegistryValue(std::string_view name, std::string_view value) {
    return platform::registry::WriteString(kRegistryKey, name, value);
}

bool ReadRegistryValue(std::string_view name, std::string& value) {
    return platform::registry::ReadString(kRegistryKey, name, value);
}

}  // namespace Utils
