#pragma once

// Redirects this process's standard error (the debugger output on POSIX) into a temporary
// file for the life of the object, so that tests can read back what was written.

#include <string>

namespace testsupport {

class StderrCapture {
public:
    StderrCapture();
    ~StderrCapture();
    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;

    // Everything written to standard error since construction.
    std::string Text() const;

private:
    int savedFd_ = -1;
    int fileFd_ = -1;
};

}  // namespace testsupport
