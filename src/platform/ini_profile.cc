#include "platform/ini_profile.h"

#include <mutex>

#include "platform/ini_document.h"
#include "platform/text_file.h"
#include "platform/utf8_text.h"

namespace platform::ini {
namespace {

#ifdef _WIN32
constexpr std::string_view kNativeLineEnd = "\r\n";
#else
constexpr std::string_view kNativeLineEnd = "\n";
#endif

// Each write reads the file, changes one line and replaces the file; two writers in this
// process doing that at once would lose one of the changes.
std::mutex& WriteMutex() {
    static std::mutex mutex;
    return mutex;
}

}  // namespace

std::optional<std::string> FindString(const std::filesystem::path& file, std::string_view section,
                                      std::string_view key) {
    std::string text;
    if (ReadWholeFile(file, text) != FileReadResult::kRead) {
        return std::nullopt;
    }
    const std::optional<std::string_view> value = FindValue(text, section, key);
    if (!value) {
        return std::nullopt;
    }
    return std::string(*value);
}

std::string GetString(const std::filesystem::path& file, std::string_view section,
                      std::string_view key, std::string_view defaultValue, size_t bufferChars) {
    const std::optional<std::string> found = FindString(file, section, key);
    std::string_view value = found ? std::string_view(*found) : defaultValue;
    if (bufferChars != kWholeValue) {
        value = utf8::CutToCodePoints(value, bufferChars - 1);
    }
    return std::string(value);
}

bool WriteString(const std::filesystem::path& file, std::string_view section, std::string_view key,
                 std::string_view value) {
    if (!IsStorable(section, key, value)) {
        return false;
    }
    const std::lock_guard<std::mutex> lock(WriteMutex());
    std::string text;
    // A file that exists but cannot be read must not be replaced by one holding only the
    // new value.
    if (ReadWholeFile(file, text) == FileReadResult::kFailed) {
        return false;
    }
    return ReplaceFileAtomically(file, SetValue(text, section, key, value, kNativeLineEnd));
}

}  // namespace platform::ini
