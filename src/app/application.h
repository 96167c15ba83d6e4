#pragma once

// The installer's start-up and shut-down, in their fixed order, around the main window.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/instance_lock.h"

namespace app {

// Prefixed to the base name so that the lock cannot collide with another program's.
inline constexpr std::string_view kInstanceLockPrefix = "D1A547DB89C0BC61_";
inline constexpr std::string_view kInstanceBaseName = "Installer_Quorvex";

// The single-instance lock, held from start-up until Release or destruction.
class SingleInstance {
  public:
    explicit SingleInstance(std::string baseName = std::string(kInstanceBaseName))
        : baseName_(std::move(baseName)) {}

    // Takes the lock unless this holder has it already; false when another process holds it.
    bool Take();
    bool Held() const { return lock_ != nullptr; }
    void Release() { lock_.reset(); }

    std::string LockName() const;

  private:
    std::string baseName_;
    std::unique_ptr<platform::InstanceLock> lock_;
};

// Runs the installer with the process's arguments (argv) and returns its exit code: 0
// after a normal run, -1 at once when another instance holds the lock.
int RunInstaller(const std::vector<std::string>& arguments);

}  // namespace app
