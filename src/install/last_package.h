#pragma once

// The package file of the most recent download failure or installation end, shared by every
// install driver of the process, so that a later clean-up also deletes a package an earlier
// one could not.

#include <memory>
#include <mutex>
#include <string>

namespace install {

class LastPackagePath {
  public:
    // Records `path` and returns the path recorded before (empty: none). Any thread.
    std::string Exchange(std::string path);

    // The record the drivers of this process share.
    static std::shared_ptr<LastPackagePath> ProcessWide();

  private:
    std::mutex mutex_;
    std::string path_;
};

}  // namespace install
