// Prints the digest of a file as the downloaders compute it, like md5sum.

#include <cstdio>
#include <string>

#include "download/md5.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: download_bench_md5 FILE\n");
        return 2;
    }
    const std::string digest = download::FileMd5(argv[1]);
    if (digest.empty()) {
        return 1;
    }
    std::printf("%s  %s\n", digest.c_str(), argv[1]);
    return 0;
}
