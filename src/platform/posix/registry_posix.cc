#include "platform/registry.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "platform/ini_profile.h"
#include "platform/posix/user_folders.h"

namespace platform::registry {
namespace {

constexpr std::string_view kSection = "Values";

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (size_t i = 0; i < prefix.size(); ++i) {
        const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; };
        if (lower(text[i]) != lower(prefix[i])) {
            return false;
        }
    }
    return true;
}

// The store file of `key`; nullopt when there is no config home or the key has a part
// that is not a plain folder name (empty, ".", "..", or holding '/'), so that no key
// reaches outside the config home.
std::optional<std::filesystem::path> StoreFile(std::string_view key) {
    constexpr std::string_view kSoftware = "Software\\";
    if (StartsWithIgnoringCase(key, kSoftware)) {
        key.remove_prefix(kSoftware.size());
    }
    const std::string configHome = posix::ConfigHome();
    if (configHome.empty() || key.empty()) {
        return std::nullopt;
    }
    std::filesystem::path file(configHome);
    for (size_t start = 0; start <= key.size();) {
        size_t end = key.find('\\', start);
        if (end == std::string_view::npos) {
            end = key.size();
        }
        const std::string_view part = key.substr(start, end - start);
        if (part.empty() || part == "." || part == ".." ||
            part.find_first_of(std::string_view("/\0", 2)) != std::string_view::npos) {
            return std::nullopt;
        }
        file /= part;
        start = end + 1;
    }
    return file / "registry.ini";
}

}  // namespace

bool WriteString(std::string_view key, std::string_view name, std::string_view value) {
    const std::optional<std::filesystem::path> file = StoreFile(key);
    if (!file) {
        return false;
    }
    std::error_code error;
    std::filesystem::create_directories(file->parent_path(), error);
    if (error) {
        return false;
    }
    // The quotes keep blanks at the ends of the value, and quotes of its own, through the
    // INI reader, which drops both; a registry value reads back exactly as written.
    std::string quoted;
    quoted.reserve(value.size() + 2);
    quoted.append("\"").append(value).append("\"");
    return ini::WriteString(*file, kSection, name, quoted);
}

bool ReadString(std::string_view key, std::string_view name, std::string& value) {
    const std::optional<std::filesystem::path> file = StoreFile(key);
    if (!file) {
        return false;
    }
    std::optional<std::string> stored = ini::FindString(*file, kSection, name);
    if (!stored) {
        return false;
    }
    value = std::move(*stored);
    return true;
}

}  // namespace platform::registry
