#pragma once

// Builds small 7z archives in memory for the skin archive tests.

#include <string>
#include <vector>

namespace uiframework::testing {

struct ArchiveFile {
    std::string name;
    std::string bytes;
    bool folder = false;  // a folder entry; bytes are ignored
};

// A solid LZMA2 7z archive holding the files in the given order.
std::vector<unsigned char> Write7z(const std::vector<ArchiveFile>& files);

}  // namespace uiframework::testing
