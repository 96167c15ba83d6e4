#pragma once

// The downloader interface of the install driver. A downloader is built with (callback,
// address, target file) and reports DL_CODE_* (download_codes.h) through the callback, on
// its own threads.

class CDownloader {
  public:
    virtual ~CDownloader() = default;

    // Begins the download, or begins it again after DL_CODE_RETRY or DL_CODE_FAIL, on the
    // downloader's own thread, and returns at once. May be called from inside the
    // downloader's own report (the restart after DL_CODE_RETRY).
    virtual void Start() = 0;
};
