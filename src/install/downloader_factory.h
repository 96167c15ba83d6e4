#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "download/download_settings.h"
#include "download/downloader.h"
#include "download/status_callback.h"

namespace install {

// The downloader for the configured download type: 2 the system's URL download service,
// 3 two parallel byte ranges, any other value one resumable stream.
std::unique_ptr<CDownloader> CreateDownloader(int32_t downloadType, StatusCallback callback,
                                              std::string address, std::string targetPath,
                                              download::DownloadSettings settings);

}  // namespace install
