// The waiter of CMTCurlDownloader: merges the ranges, checks the digest and ends the run.

#include "app/log.h"
#include "download/digest_check.h"
#include "download/download_codes.h"
#include "download/file_io.h"
#include "download/mt_curl_downloader.h"

namespace {

// Value of DL_CODE_RETRY / DL_CODE_FAIL when the ranges arrived but could not be merged.
constexpr int kMergeFailed = -3;

}  // namespace

void CMTCurlDownloader::waitForFinishThreadFun() {
    WaitForParts();
    if (stop_.Stopped()) {
        return;
    }
    int status = 0;
    for (const auto& part : parts_) {
        if (part->status != 0) {
            status = part->status;
            break;
        }
    }
    if (status != 0) {
        FailRange(status, false);
        return;
    }
    if (!MergeParts()) {
        FailRange(kMergeFailed, true);
        return;
    }
    SetLastPercent(0.0);
    if (expectedDigest_.size() != 32) {
        Report(DL_CODE_MD5, 0.0, "mtcurl获取url-md5失败");
    } else if (!download::FileMatchesDigest(settings_, targetPath_, expectedDigest_)) {
        Report(DL_CODE_MD5, 0.0, "mtcurl文件md5校验失败");
        download::RemoveFile(targetPath_);
        releaseParts();
        if (retried_) {
            WRITE_LOG("finish recv, md5 chaek failed and retry failed.\r\n");
            Report(DL_CODE_FAIL, 0.0, "LibCurl");
        } else {
            retried_ = true;
            WRITE_LOG("finish recv, md5 chaek failed retry once.\r\n");
            Report(DL_CODE_RETRY, 0.0, "LibCurl");
        }
        return;
    }
    WRITE_LOG("finish recv\r\n");
    releaseParts();
    Report(DL_CODE_SUCCESS, 0.0, "LibCurl");
}

bool CMTCurlDownloader::MergeParts() {
    const std::string first = PartPath(0);
    download::File merged = download::File::Open(first, download::File::Mode::kUpdate);
    if (!merged.IsOpen()) {
        return false;
    }
    const int64_t firstSize = parts_.front()->endOffset - parts_.front()->firstOffset + 1;
    for (size_t i = 1; i < parts_.size(); ++i) {
        download::File next =
            download::File::Open(parts_[i]->partPath, download::File::Mode::kRead);
        if (!next.IsOpen() || !merged.AppendFrom(next)) {
            // Back to the first range alone, so a restart can resume both part files.
            merged.Truncate(firstSize);
            return false;
        }
        WriteLog("CMTCurlDownloader::waitForFinishThreadFun", __LINE__, "partPath::%s\r\n",
                 parts_[i]->partPath);
    }
    if (!download::RenameFile(first, targetPath_)) {
        merged.Truncate(firstSize);
        return false;
    }
    merged.Close();
    RemovePartFiles();
    return true;
}

void CMTCurlDownloader::FailRange(int status, bool keepPartFiles) {
    releaseParts();
    if (!keepPartFiles && LastPercent() == 0.0) {
        RemovePartFiles();
    }
    if (retried_) {
        SetLastPercent(0.0);
        Report(DL_CODE_FAIL, status, "LibCurl");
        return;
    }
    retried_ = true;
    Report(DL_CODE_RETRY, status, "LibCurl");
}
