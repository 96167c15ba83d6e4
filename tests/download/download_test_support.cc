#include "download_test_support.h"

#include <stdlib.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "download/md5.h"

namespace dltest {

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quorvex-dl-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

testing::AssertionResult SameContent(const std::string& actual, const std::string& expected) {
    if (!Exists(actual)) {
        return testing::AssertionFailure() << actual << " does not exist";
    }
    const std::string a = ReadFile(actual);
    const std::string b = ReadFile(expected);
    if (a.size() != b.size()) {
        return testing::AssertionFailure()
               << actual << " has " << a.size() << " bytes, not " << b.size();
    }
    auto mismatch = std::mismatch(a.begin(), a.end(), b.begin());
    if (mismatch.first != a.end()) {
        return testing::AssertionFailure()
               << actual << " differs from byte " << (mismatch.first - a.begin());
    }
    return testing::AssertionSuccess();
}

void CopyPrefix(const std::string& source, const std::string& path, int64_t size) {
    std::string content = ReadFile(source);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), std::min<int64_t>(size, static_cast<int64_t>(content.size())));
}

bool Exists(const std::string& path) {
    return std::filesystem::exists(path);
}

int64_t SizeOf(const std::string& path) {
    std::error_code error;
    auto size = std::filesystem::file_size(path, error);
    return error ? -1 : static_cast<int64_t>(size);
}

Package PublishPackage(testsupport::DownloadServer& server, const TempFolder& folder, int64_t size,
                       DigestForm form, uint64_t seed) {
    Package package;
    package.localFile = folder.File("served-" + std::to_string(seed) + ".bin");
    testsupport::WriteRandomFile(package.localFile, size, seed);
    package.digest = download::FileMd5(package.localFile);
    std::string segment = package.digest;
    if (form == DigestForm::kUpper) {
        std::transform(segment.begin(), segment.end(), segment.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    } else if (form == DigestForm::kNone) {
        segment = "release-1.7.9";
    }
    package.finalPath = "/dl/" + segment + "/setup.exe";
    server.ServeFile(package.finalPath, package.localFile);
    server.Redirect(package.shortPath, package.finalPath);
    return package;
}

}  // namespace dltest

#include <curl/curl.h>

namespace dltest {

CurlGlobal::CurlGlobal() {
    curl_global_init(CURL_GLOBAL_ALL);
}
CurlGlobal::~CurlGlobal() {
    curl_global_cleanup();
}

}  // namespace dltest
