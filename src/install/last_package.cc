#include "install/last_package.h"

#include <utility>

namespace install {

std::string LastPackagePath::Exchange(std::string path) {
    std::lock_guard lock(mutex_);
    std::swap(path, path_);
    return path;
}

std::shared_ptr<LastPackagePath> LastPackagePath::ProcessWide() {
    static const std::shared_ptr<LastPackagePath> record = std::make_shared<LastPackagePath>();
    return record;
}

}  // namespace install
