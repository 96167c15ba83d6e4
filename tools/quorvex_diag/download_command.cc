// quorvex-diag download TYPE URL TARGET: runs one downloader the way the install driver
// does (a restart on DL_CODE_RETRY, the end at DL_CODE_SUCCESS or DL_CODE_FAIL) and prints
// every report as "code<TAB>value<TAB>text".

#include <curl/curl.h>
#include <fmt/printf.h>

#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "commands.h"
#include "download/curl_downloader.h"
#include "download/download_codes.h"
#include "download/mt_curl_downloader.h"
#include "download/win_downloader.h"

namespace diag {
namespace {

// Chosen as the install driver chooses by DownloadType.
std::unique_ptr<CDownloader> MakeDownloader(int type, StatusCallback callback,
                                            const std::string& url, const std::string& target,
                                            const download::DownloadSettings& settings) {
    switch (type) {
        case 2:
            return std::make_unique<CWinDownloader>(std::move(callback), url, target, settings);
        case 3:
            return std::make_unique<CMTCurlDownloader>(std::move(callback), url, target, settings);
        default:
            return std::make_unique<CCurlDownloader>(std::move(callback), url, target, settings);
    }
}

class RunUntilEnd {
  public:
    StatusCallback Callback() {
        return [this](int32_t code, double value, const std::string& text) {
            CDownloader* restart = nullptr;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                fmt::printf("%d\t%g\t%s\n", code, value, text);
                std::fflush(stdout);
                if (code == DL_CODE_RETRY) {
                    restart = downloader_;
                } else if (code == DL_CODE_SUCCESS || code == DL_CODE_FAIL) {
                    exitCode_ = code == DL_CODE_SUCCESS ? 0 : 1;
                }
            }
            if (restart != nullptr) {
                restart->Start();
            }
            ended_.notify_all();
        };
    }

    int Run(CDownloader& downloader) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            downloader_ = &downloader;
        }
        downloader.Start();
        std::unique_lock<std::mutex> lock(mutex_);
        ended_.wait(lock, [this] { return exitCode_ >= 0; });
        return exitCode_;
    }

  private:
    std::mutex mutex_;
    std::condition_variable ended_;
    CDownloader* downloader_ = nullptr;
    int exitCode_ = -1;
};

}  // namespace

int RunDownload(const std::vector<std::string>& arguments) {
    if (arguments.size() != 3) {
        fmt::fprintf(stderr, "usage: quorvex-diag download TYPE URL TARGET\n");
        return kUsageError;
    }
    int type = 0;
    try {
        type = std::stoi(arguments[0]);
    } catch (const std::exception&) {
        // Not a number: the default downloader, as the command line's -downloadtype does.
    }
    download::DownloadSettings settings;
    settings.curlAvailable = curl_global_init(CURL_GLOBAL_ALL) == CURLE_OK;
    int exitCode;
    {
        RunUntilEnd run;
        auto downloader =
            MakeDownloader(type, run.Callback(), arguments[1], arguments[2], settings);
        exitCode = run.Run(*downloader);
    }
    curl_global_cleanup();
    return exitCode;
}

}  // namespace diag
