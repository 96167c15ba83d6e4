#include "download/md5.h"

#include <gtest/gtest.h>
#include <stdio.h>

#include <fstream>
#include <string>

#include "download_test_support.h"
#include "support/download_server.h"

namespace {

struct Vector {
    const char* message;
    const char* digest;
};

// The test suite of RFC 1321, appendix A.5.
const Vector kRfc1321Suite[] = {
    {"", "d41d8cd98f00b204e9800998ecf8427e"},
    {"a", "0cc175b9c0f1b6a831c399e269772661"},
    {"abc", "900150983cd24fb0d6963f7d28e17f72"},
    {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
    {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
     "d174ab98d277d9f5a5611c2c9f419d9f"},
    {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
     "57edf4a22be3c955ac49da2e2107b67a"},
};

TEST(Md5Test, FilesOfTheRfcSuiteGiveTheRfcDigests) {
    dltest::TempFolder folder;
    for (const Vector& v : kRfc1321Suite) {
        const std::string path = folder.File("message");
        std::ofstream(path, std::ios::binary | std::ios::trunc) << v.message;
        EXPECT_EQ(download::FileMd5(path), v.digest) << '"' << v.message << '"';
    }
}

TEST(Md5Test, SplitUpdatesGiveTheSameDigestAsOneUpdate) {
    const std::string message = kRfc1321Suite[6].message;
    for (size_t piece : {1u, 3u, 63u, 64u, 65u}) {
        download::Md5 md5;
        for (size_t at = 0; at < message.size(); at += piece) {
            md5.Update(message.data() + at, std::min(piece, message.size() - at));
        }
        EXPECT_EQ(download::ToHex(md5.Final()), kRfc1321Suite[6].digest) << piece;
    }
}

std::string SystemMd5sum(const std::string& path) {
    std::string command = "md5sum '" + path + "'";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return "";
    }
    char line[256] = {};
    std::string digest;
    if (fgets(line, sizeof line, pipe) != nullptr) {
        digest.assign(line, 32);
    }
    pclose(pipe);
    return digest;
}

TEST(Md5Test, RandomFilesMatchMd5sumAcrossBlockBoundaries) {
    dltest::TempFolder folder;
    // Padding edges (55, 56, 64), the old 1024-byte read size, and a large file whose length
    // ends inside a block.
    for (int64_t size : {55, 56, 63, 64, 65, 1024, 1025, 65537, 48 * 1024 * 1024 + 7}) {
        const std::string path = folder.File("random");
        testsupport::WriteRandomFile(path, size, static_cast<uint64_t>(size));
        EXPECT_EQ(download::FileMd5(path), SystemMd5sum(path)) << size << " bytes";
    }
}

TEST(Md5Test, MissingOrUnnamedFileGivesEmptyText) {
    dltest::TempFolder folder;
    EXPECT_EQ(download::FileMd5(folder.File("absent")), "");
    EXPECT_EQ(download::FileMd5(""), "");
    // A folder opens but cannot be read.
    EXPECT_EQ(download::FileMd5(folder.Path()), "");
}

}  // namespace
