#include "platform/codepage.h"

#include <iconv.h>
#include <langinfo.h>

#include <cerrno>
#include <memory>
#include <string>

#include "platform/utf8_text.h"

namespace platform {
namespace {

struct IconvCloser {
    void operator()(void* descriptor) const { ::iconv_close(static_cast<iconv_t>(descriptor)); }
};
using ScopedIconv = std::unique_ptr<void, IconvCloser>;

bool IsUtf8Name(std::string_view name) {
    return name == "UTF-8" || name == "utf-8" || name == "UTF8" || name == "utf8";
}

std::string CharsetOf(uint32_t codePage) {
    if (codePage == kCodePageUtf8) {
        return "UTF-8";
    }
    if (codePage == kCodePageAnsi) {
        const std::string charset = ::nl_langinfo(CODESET);
        // The C locale's charset is 7-bit ASCII; text through it would lose every other
        // character, so the locale-less program keeps UTF-8 instead.
        if (charset.empty() || charset == "ANSI_X3.4-1968" || charset == "ASCII" ||
            charset == "US-ASCII") {
            return "UTF-8";
        }
        return charset;
    }
    return "CP" + std::to_string(codePage);
}

// Converts the whole input or nothing: an invalid or unrepresentable character, or a
// truncated sequence at the end, gives an empty text.
std::string Convert(std::string_view input, const std::string& to, const std::string& from) {
    const iconv_t opened = ::iconv_open(to.c_str(), from.c_str());
    if (opened == reinterpret_cast<iconv_t>(-1)) {
        return {};
    }
    const ScopedIconv descriptor(opened);
    std::string in(input);
    char* inPos = in.data();
    size_t inLeft = in.size();
    std::string out(input.size() * 2 + 16, '\0');
    size_t done = 0;
    bool flushing = false;
    for (;;) {
        char* outPos = out.data() + done;
        size_t outLeft = out.size() - done;
        // After the input, one call without input ends a shifted state (stateful charsets).
        const size_t result = flushing ? ::iconv(opened, nullptr, nullptr, &outPos, &outLeft)
                                       : ::iconv(opened, &inPos, &inLeft, &outPos, &outLeft);
        done = static_cast<size_t>(outPos - out.data());
        if (result == static_cast<size_t>(-1)) {
            if (errno != E2BIG) {
                return {};
            }
            out.resize(out.size() * 2);
            continue;
        }
        // A count of irreversible conversions means something was replaced, not converted.
        if (result != 0) {
            return {};
        }
        if (flushing) {
            break;
        }
        flushing = true;
    }
    out.resize(done);
    return out;
}

}  // namespace

std::string DecodeCodePage(std::string_view bytes, uint32_t codePage) {
    const std::string charset = CharsetOf(codePage);
    if (IsUtf8Name(charset)) {
        return utf8::IsValid(bytes) ? std::string(bytes) : std::string();
    }
    return Convert(bytes, "UTF-8", charset);
}

std::string EncodeCodePage(std::string_view text, uint32_t codePage) {
    if (!utf8::IsValid(text)) {
        return {};
    }
    const std::string charset = CharsetOf(codePage);
    if (IsUtf8Name(charset)) {
        return std::string(text);
    }
    return Convert(text, charset, "UTF-8");
}

}  // namespace platform
