#include "support/stderr_capture.h"

#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <stdexcept>

namespace testsupport {

StderrCapture::StderrCapture() {
    char name[] = "/tmp/quorvex-stderr-XXXXXX";
    fileFd_ = mkstemp(name);
    if (fileFd_ < 0) {
        throw std::runtime_error("mkstemp failed");
    }
    unlink(name);
    fflush(stderr);
    savedFd_ = dup(STDERR_FILENO);
    dup2(fileFd_, STDERR_FILENO);
}

StderrCapture::~StderrCapture() {
    fflush(stderr);
    dup2(savedFd_, STDERR_FILENO);
    close(savedFd_);
    close(fileFd_);
}

std::string StderrCapture::Text() const {
    fflush(stderr);
    std::string text;
    char buffer[4096];
    off_t offset = 0;
    for (;;) {
        ssize_t n = pread(fileFd_, buffer, sizeof buffer, offset);
        if (n <= 0) {
            break;
        }
        text.append(buffer, static_cast<size_t>(n));
        offset += n;
    }
    return text;
}

}  // namespace testsupport
