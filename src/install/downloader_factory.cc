#include "install/downloader_factory.h"

#include <utility>

#include "download/curl_downloader.h"
#include "download/mt_curl_downloader.h"
#include "download/win_downloader.h"

namespace install {

std::unique_ptr<CDownloader> CreateDownloader(int32_t downloadType, StatusCallback callback,
                                              std::string address, std::string targetPath,
                                              download::DownloadSettings settings) {
    switch (downloadType) {
        case 2:
            return std::make_unique<CWinDownloader>(std::move(callback), std::move(address),
                                                    std::move(targetPath), std::move(settings));
        case 3:
            return std::make_unique<CMTCurlDownloader>(std::move(callback), std::move(address),
                                                       std::move(targetPath), std::move(settings));
        default:
            return std::make_unique<CCurlDownloader>(std::move(callback), std::move(address),
                                                     std::move(targetPath), std::move(settings));
    }
}

}  // namespace install
