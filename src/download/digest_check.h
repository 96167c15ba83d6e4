#pragma once

// The expected digest carried by a package's final address, and the comparison with the
// digest of the file on disk.

#include <string>
#include <string_view>

#include "download/download_settings.h"

namespace download {

// The address's last-but-one path segment when it has exactly 32 characters, else empty.
std::string ExpectedDigest(std::string_view realAddress);

// True when the file's digest can be computed and equals `expected` in any letter case.
bool FileMatchesDigest(const DownloadSettings& settings, const std::string& path,
                       const std::string& expected);

}  // namespace download
