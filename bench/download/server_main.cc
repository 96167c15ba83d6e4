// A loopback download server for the benchmark: serves each PATH=FILE given, prints its
// port, and runs until its standard input ends.

#include <cstdio>
#include <iostream>
#include <string>

#include "support/download_server.h"

int main(int argc, char** argv) {
    testsupport::DownloadServer server;
    for (int i = 1; i < argc; ++i) {
        const std::string mapping = argv[i];
        const size_t equals = mapping.find('=');
        if (equals == std::string::npos) {
            std::fprintf(stderr, "usage: download_bench_server PATH=FILE...\n");
            return 2;
        }
        server.ServeFile(mapping.substr(0, equals), mapping.substr(equals + 1));
    }
    std::printf("%d\n", server.Port());
    std::fflush(stdout);
    while (std::cin.get() != EOF) {
    }
    return 0;
}
