// Any file text and any names: lookups never fault, and a value that the writer accepts
// reads back as written.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/ini_document.h"

namespace {

// A value that lookups return unchanged: no blanks at its ends, not wrapped in quotes.
bool ReadsBackVerbatim(const std::string& value) {
    if (value.empty()) {
        return true;
    }
    // The same blanks the reader drops around values.
    auto blank = [](char c) {
        return std::string_view(" \t\r\v\f").find(c) != std::string_view::npos;
    };
    if (blank(value.front()) || blank(value.back())) {
        return false;
    }
    bool quoted = value.size() >= 2 && value.front() == value.back() &&
                  (value.front() == '"' || value.front() == '\'');
    return !quoted;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string section = input.ConsumeRandomLengthString(32);
    const std::string key = input.ConsumeRandomLengthString(32);
    const std::string value = input.ConsumeRandomLengthString(64);
    const std::string text = input.ConsumeRemainingBytesAsString();

    (void)platform::ini::FindValue(text, section, key);
    if (!platform::ini::IsStorable(section, key, value)) {
        return 0;
    }
    const std::string written = platform::ini::SetValue(text, section, key, value, "\n");
    auto readBack = platform::ini::FindValue(written, section, key);
    if (!readBack) {
        std::abort();
    }
    if (ReadsBackVerbatim(value) && *readBack != value) {
        std::abort();
    }
    return 0;
}
