#pragma once

#include <mutex>

namespace analytics_sdk {

// Whether the latest upload succeeded; false until one does. Its mutex is always taken alone.
class SendFlag {
  public:
    bool Get() const {
        std::lock_guard lock(mutex_);
        return succeeded_;
    }
    void Set(bool succeeded) {
        std::lock_guard lock(mutex_);
        succeeded_ = succeeded;
    }

  private:
    mutable std::mutex mutex_;
    bool succeeded_ = false;
};

}  // namespace analytics_sdk
