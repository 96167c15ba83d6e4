#include "download/digest_check.h"

#include <cctype>

#include "app/utils.h"
#include "download/md5.h"

namespace download {

std::string ExpectedDigest(std::string_view realAddress) {
    std::string segment = Utils::AddressDigestSegment(realAddress);
    return segment.size() == 32 ? segment : std::string();
}

bool FileMatchesDigest(const DownloadSettings& settings, const std::string& path,
                       const std::string& expected) {
    const std::string actual = settings.fileDigest ? settings.fileDigest(path) : FileMd5(path);
    if (actual.size() != expected.size() || actual.empty()) {
        return false;
    }
    for (size_t i = 0; i < actual.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(actual[i])) !=
            std::tolower(static_cast<unsigned char>(expected[i]))) {
            return false;
        }
    }
    return true;
}

}  // namespace download
