#pragma once

// Shared pieces of the download tests: a fresh folder per test, file helpers, and a
// package published on the test server behind a short address.

#include <gtest/gtest.h>
#include <cstdint>

#include <string>

#include "support/download_server.h"

namespace dltest {

// A new empty folder under the system temp folder, removed with everything in it.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

std::string ReadFile(const std::string& path);
// Both files exist with equal content (the failure names the first difference).
testing::AssertionResult SameContent(const std::string& actual, const std::string& expected);
// The first `size` bytes of `source` written to `path`.
void CopyPrefix(const std::string& source, const std::string& path, int64_t size);
bool Exists(const std::string& path);
int64_t SizeOf(const std::string& path);

enum class DigestForm { kLower, kUpper, kNone };

// A random file of `size` bytes served at "/dl/<md5>/setup.exe" (the digest segment in the
// chosen form; kNone uses a segment that is not 32 characters) behind the short address
// "/software/370".
struct Package {
    std::string localFile;
    std::string digest;     // lower-case MD5 of the content
    std::string finalPath;  // "/dl/<segment>/setup.exe"
    std::string shortPath = "/software/370";
};

Package PublishPackage(testsupport::DownloadServer& server, const TempFolder& folder, int64_t size,
                       DigestForm form = DigestForm::kLower, uint64_t seed = 1);

}  // namespace dltest

namespace dltest {

// libcurl's global state for the life of a test, set up before any thread exists.
class CurlGlobal {
  public:
    CurlGlobal();
    ~CurlGlobal();
    CurlGlobal(const CurlGlobal&) = delete;
    CurlGlobal& operator=(const CurlGlobal&) = delete;
};

}  // namespace dltest
