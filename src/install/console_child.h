#pragma once

// A child program whose standard output is read as whole lines, for the package and
// uninstaller runners. A line split across two reads comes out once, whole. When the child
// has ended, what it left in the pipe is still read (without waiting for descendants that
// keep the pipe open) and an unfinished last line comes out as a line. One thread uses an
// object from start to end.

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Utils {
class ProcessRunner;
}

namespace install {

class ConsoleChild {
  public:
    // Bytes taken from the pipe in one read, and at most after the child has ended (a
    // descendant writing without pause must not keep the reader forever).
    static constexpr size_t kReadSize = 1024;
    static constexpr size_t kFinalReadLimit = 1 << 20;
    // A longer line without a line feed is handed out in pieces of this size.
    static constexpr size_t kLineLimit = 1 << 20;

    ConsoleChild();
    // Waits for a started child that was not waited for, then closes the pipes.
    ~ConsoleChild();
    ConsoleChild(const ConsoleChild&) = delete;
    ConsoleChild& operator=(const ConsoleChild&) = delete;

    // Starts the Windows-style `commandLine` hidden, with its standard handles on pipes.
    // False when it cannot be started (a command line of more than 1023 characters among
    // the reasons).
    bool Start(const std::string& commandLine);

    // Waits at most `wait` for output and returns the lines it completed, without their
    // line feeds, each cut at its first zero byte. After the child has ended: the rest of
    // the output and the unfinished last line, and Finished() becomes true.
    std::vector<std::string> ReadLines(std::chrono::milliseconds wait);

    // The output is over: the child has ended and its output was read, or the pipe closed.
    bool Finished() const { return finished_; }

    // Waits for the child to end without a time limit, closes its pipes and returns its
    // exit code.
    uint32_t Wait();

  private:
    std::vector<std::string> ReadRest();
    std::vector<std::string> Finish();
    std::vector<std::string> TakeLines();

    std::unique_ptr<Utils::ProcessRunner> runner_;
    std::string pending_;  // bytes after the last line feed
    bool ended_ = false;
    bool finished_ = false;
};

}  // namespace install
